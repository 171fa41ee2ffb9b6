#include "window/date_field.h"

uint16_t ParseDateField(const char *text)
{
    uint16_t value = 0;
    for (const char *p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9')
            return 0;
        value = static_cast<uint16_t>(value * 10u + static_cast<unsigned>(*p - '0'));
    }
    return value;
}
