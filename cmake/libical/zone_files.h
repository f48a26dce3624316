/* Forced into libical's icaltimezone.c and icaltz-util.c in the Windows build.
 * Windows has no zone database for libical to read, so the executable carries
 * one: the build host's /usr/share/zoneinfo (zone.tab and the TZif files),
 * served from memory under that same path. libical then finds, reads and
 * converts zones exactly as Debian's libical does on Linux.
 * In these two files no other file can be opened. */
#ifndef QUELVO_ZONE_FILES_H
#define QUELVO_ZONE_FILES_H

#include <io.h>
#include <stdio.h>
#include <unistd.h>

#define QUELVO_ZONEINFO_PREFIX "/usr/share/zoneinfo/"

#ifdef __cplusplus
extern "C" {
#endif

FILE *quelvo_zone_fopen(const char *path, const char *mode);
size_t quelvo_zone_fread(void *buffer, size_t size, size_t count, FILE *stream);
int quelvo_zone_fseek(FILE *stream, long offset, int whence);
int quelvo_zone_fgetc(FILE *stream);
char *quelvo_zone_fgets(char *buffer, int size, FILE *stream);
int quelvo_zone_ferror(FILE *stream);
int quelvo_zone_fclose(FILE *stream);
int quelvo_zone_access(const char *path, int mode);

#ifdef __cplusplus
}
#endif

#define fopen quelvo_zone_fopen
#define fread quelvo_zone_fread
#define fseek quelvo_zone_fseek
#define fgetc quelvo_zone_fgetc
#define getc quelvo_zone_fgetc
#define fgets quelvo_zone_fgets
#define ferror quelvo_zone_ferror
#define fclose quelvo_zone_fclose
#define access quelvo_zone_access

#endif
