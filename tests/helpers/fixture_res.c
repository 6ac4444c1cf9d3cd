/* A stand-in for Res.dll with strings the tests know. FIXTURE_PICTURE picks
 * the splash resource: 0 none, 1 a real JPEG (FIXTURE_JPEG_INC), 2 bytes
 * that are no JPEG. FIXTURE_NO_EMAIL leaves string 5 out. */

#include "fixture_strings.h"
#include "services/platform/ModuleResources.h"

static const struct SonvarroModuleString kStrings[] = {
    {0, FIXTURE_STRING_0}, {1, FIXTURE_STRING_1}, {2, FIXTURE_STRING_2}, {3, FIXTURE_STRING_3}, {4, FIXTURE_STRING_4},
#ifndef FIXTURE_NO_EMAIL
    {5, FIXTURE_STRING_5},
#endif
    {7, FIXTURE_STRING_7},
};

#if FIXTURE_PICTURE == 1
static const unsigned char kPicture[] = {
#include FIXTURE_JPEG_INC
};
#elif FIXTURE_PICTURE == 2
static const unsigned char kPicture[] = FIXTURE_NOT_A_JPEG;
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
