/* Lib.dll: must lie beside the program; the program calls nothing in it. */

const char SonvarroLibraryName[] = "Lib.dll";
