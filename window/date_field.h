// Conversion of a date field's text. Portable: no Windows headers.
#pragma once

#include <stdint.h>

// The value of a text of decimal digits, wrapping modulo 65536; 0 (invalid) for the empty text
// or when any character is not a digit.
uint16_t ParseDateField(const char *text);
