/* Res.dll: the product strings by id and the splash picture. */

#include "ProductStrings.h"
#include "services/platform/ModuleResources.h"

static const struct SonvarroModuleString kStrings[] = {
    {0, SONVARRO_RES_STRING_0}, {1, SONVARRO_RES_STRING_1}, {2, SONVARRO_RES_STRING_2}, {3, SONVARRO_RES_STRING_3},
    {4, SONVARRO_RES_STRING_4}, {5, SONVARRO_RES_STRING_5}, {7, SONVARRO_RES_STRING_7},
};

static const unsigned char kSplash[] = {
#include "ImgFlash.inc"
};

/* The same picture at twice the pixels. */
static const unsigned char kSharpSplash[] = {
#include "ImgFlash2x.inc"
};

static const struct SonvarroModuleResource kResources[] = {
    {"jpeg", "ImgFlash", kSplash, sizeof kSplash},
    {"jpeg", "ImgFlash@2x", kSharpSplash, sizeof kSharpSplash},
};

const struct SonvarroModuleResources SonvarroResources = {kStrings, sizeof kStrings / sizeof kStrings[0], kResources,
                                                          sizeof kResources / sizeof kResources[0]};
