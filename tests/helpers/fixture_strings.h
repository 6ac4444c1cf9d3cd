/* The strings of the Res.dll stand-ins, for both of their builds: the table
 * of the Linux fixture (fixture_res.c) and the string table resource of the
 * Windows one (fixture_res.rc). */
#ifndef SONVARRO_FIXTURE_STRINGS_H
#define SONVARRO_FIXTURE_STRINGS_H

#define LONG_TEXT_40 "0123456789012345678901234567890123456789"

#define FIXTURE_STRING_0 "About zero"
#define FIXTURE_STRING_1 "Fixture Title"
#define FIXTURE_STRING_2 "About two"
#define FIXTURE_STRING_3 "Three, never kept"
#define FIXTURE_STRING_4 "https://home.example/"
#define FIXTURE_STRING_5 "mail@fixture.example"
/* 300 bytes: only 253 of them fit. */
#define FIXTURE_STRING_7 \
  LONG_TEXT_40 LONG_TEXT_40 LONG_TEXT_40 LONG_TEXT_40 LONG_TEXT_40 LONG_TEXT_40 LONG_TEXT_40 "01234567890123456789"

/* The bytes of the damaged splash picture. */
#define FIXTURE_NOT_A_JPEG "GIF89a, not a JPEG at all"

#endif
