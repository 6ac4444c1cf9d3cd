/* The product strings of Res.dll by id, one place for both of its builds:
 * the table of the Linux library (Res.c) and the string table resource of
 * the Windows one (Res.rc). Also read by the Windows version resources.
 * Plain literals, so that the resource compiler reads them too. */
#ifndef SONVARRO_PRODUCT_STRINGS_H
#define SONVARRO_PRODUCT_STRINGS_H

#define SONVARRO_RES_STRING_0                                                                                  \
  "Sonvarro Converter turns your video and audio files into AMR, AAC, MP3, AC3, M4A, OGG and WAV audio, each " \
  "trimmed to the part you want."
#define SONVARRO_RES_STRING_1 "Sonvarro Converter"
#define SONVARRO_RES_STRING_2 "Copyright (C) 2026 Quorvane Soft. All rights reserved."
#define SONVARRO_RES_STRING_3 "Sonvarro"
#define SONVARRO_RES_STRING_4 "https://www.quorvanesoft.example/sonvarro/"
#define SONVARRO_RES_STRING_5 "support@quorvanesoft.example"
#define SONVARRO_RES_STRING_7 "Thank you for choosing Sonvarro Converter."

#endif
