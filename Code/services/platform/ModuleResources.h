#ifndef SONVARRO_MODULE_RESOURCES_H
#define SONVARRO_MODULE_RESOURCES_H

/* What a companion library exports for its string table and its named
 * resources (Windows: the module's resource section). Plain C, so that a
 * library built apart from the program reads the same layout. A library
 * that has resources exports one object of type SonvarroModuleResources
 * under the name SONVARRO_MODULE_RESOURCES_SYMBOL. */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

struct SonvarroModuleString {
  unsigned id;
  const char* text; /* 8-bit text, ends in a NUL */
};

struct SonvarroModuleResource {
  const char* type; /* such as "jpeg"; compared without regard to case of a-z */
  const char* name; /* such as "ImgFlash"; likewise */
  const unsigned char* data;
  size_t size;
};

struct SonvarroModuleResources {
  const struct SonvarroModuleString* strings;
  size_t stringCount;
  const struct SonvarroModuleResource* resources;
  size_t resourceCount;
};

#define SONVARRO_MODULE_RESOURCES_SYMBOL "SonvarroResources"

#ifdef __cplusplus
}
#endif

#endif
