/* Res.dll: the product strings by id and the splash picture. */

#include "services/platform/ModuleResources.h"

static const struct SonvarroModuleString kStrings[] = {
    {0,
     "Sonvarro Converter turns your video and audio files into AMR, AAC, MP3, AC3, M4A, OGG and WAV audio, "
     "each trimmed to the part you want."},
    {1, "Sonvarro Converter"},
    {2, "Copyright (C) 2026 Quorvane Soft. All rights reserved."},
    {3, "Sonvarro"},
    {4, "https://www.quorvanesoft.example/sonvarro/"},
    {5, "support@quorvanesoft.example"},
    {7, "Thank you for choosing Sonvarro Converter."},
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
