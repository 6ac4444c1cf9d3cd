/* A stand-in for Form.dll that records its calls instead of showing a box.
 * A test keeps it loaded while the program frees it, and reads the record
 * of the last call. */

#include <string.h>

#include "shell/RecSoftInfo.h"

static int calls;
static void* lastApplication;
static struct RecSoftInfo lastInfo;

void ShowAboutForm(void* application, struct RecSoftInfo info) {
  ++calls;
  lastApplication = application;
  memcpy(&lastInfo, &info, sizeof info);
}

int FixtureAboutCalls(void) { return calls; }
void* FixtureAboutApplication(void) { return lastApplication; }
const struct RecSoftInfo* FixtureAboutInfo(void) { return &lastInfo; }
