/* A stand-in for Res.dll with strings the tests know. FIXTURE_PICTURE picks
 * the splash resource: 0 none, 1 a real JPEG (FIXTURE_JPEG_INC), 2 bytes
 * that are no JPEG. FIXTURE_NO_EMAIL leaves string 5 out. */

#include "services/platform/ModuleResources.h"

#define LONG_TEXT_40 "0123456789012345678901234567890123456789"

static const struct SonvarroModuleString kStrings[] = {
    {0, "About zero"},
    {1, "Fixture Title"},
    {2, "About two"},
    {3, "Three, never kept"},
    {4, "https://home.example/"},
#ifndef FIXTURE_NO_EMAIL
    {5, "mail@fixture.example"},
#endif
    /* 300 bytes: only 253 of them fit. */
    {7,
     LONG_TEXT_40 LONG_TEXT_40 LONG_TEXT_40 LONG_TEXT_40 LONG_TEXT_40 LONG_TEXT_40 LONG_TEXT_40 "01234567890123456789"},
};

#if FIXTURE_PICTURE == 1
static const unsigned char kPicture[] = {
#include FIXTURE_JPEG_INC
};
#elif FIXTURE_PICTURE == 2
static const unsigned char kPicture[] = "GIF89a, not a JPEG at all";
#endif

#if FIXTURE_PICTURE != 0
/* Names and types are found without regard to the case of their letters. */
static const struct SonvarroModuleResource kResources[] = {
    {"JPEG", "imgflash", kPicture, sizeof kPicture},
};
#endif

#if FIXTURE_PICTURE != 0
const struct SonvarroModuleResources SonvarroResources = {kStrings, sizeof kStrings / sizeof kStrings[0], kResources,
                                                          1};
#else
const struct SonvarroModuleResources SonvarroResources = {kStrings, sizeof kStrings / sizeof kStrings[0], 0, 0};
#endif
