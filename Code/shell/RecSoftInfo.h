#ifndef SONVARRO_REC_SOFT_INFO_H
#define SONVARRO_REC_SOFT_INFO_H

/* The product information record, filled once at start-up and handed by
 * value to Form.dll's "ShowAboutForm". Plain C with texts in fixed arrays,
 * so a library built apart from the program reads the same layout. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Room for one string of Res.dll's table: at most 253 bytes and the NUL. */
#define SONVARRO_PRODUCT_TEXT_BYTES 254
/* Room for a folder path and the NUL. */
#define SONVARRO_PRODUCT_PATH_BYTES 4096

struct RecSoftInfo {
  /* sizeof(struct RecSoftInfo) as the program was built: a library can tell
   * whether it was built for the same layout. */
  uint32_t RecordSize;
  char AboutText0[SONVARRO_PRODUCT_TEXT_BYTES];
  char Title[SONVARRO_PRODUCT_TEXT_BYTES];
  char AboutText2[SONVARRO_PRODUCT_TEXT_BYTES];
  char Version[SONVARRO_PRODUCT_TEXT_BYTES];
  char HomePage[SONVARRO_PRODUCT_TEXT_BYTES];
  char EMail[SONVARRO_PRODUCT_TEXT_BYTES];
  char AboutText7[SONVARRO_PRODUCT_TEXT_BYTES];
  char AppFolder[SONVARRO_PRODUCT_PATH_BYTES]; /* ends in "/" */
};

/* Form.dll's export: the application object (the program's QApplication),
 * then the record by value. Shows the about box modally; returns nothing. */
#define SONVARRO_SHOW_ABOUT_FORM "ShowAboutForm"
typedef void (*ShowAboutFormProc)(void* application, struct RecSoftInfo info);

#ifdef __cplusplus
}
#endif

#endif
