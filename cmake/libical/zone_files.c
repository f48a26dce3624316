/* The embedded zone files (zone_files.h) as read-only streams over memory. */
#include <errno.h>
#include <stdlib.h>
#include <string.h>

#include "zone_files.h"
#include "zone_files_data.h"

/* Only this file's own calls below, not the forced macros. */
#undef fopen
#undef fread
#undef fseek
#undef fgetc
#undef getc
#undef fgets
#undef ferror
#undef fclose
#undef access

typedef struct {
  const unsigned char *data;
  size_t size;
  size_t pos;
} zone_stream;

static int compare_name(const void *key, const void *element) {
  return strcmp((const char *)key, ((const quelvo_zone_file *)element)->name);
}

/* The embedded file at a path under QUELVO_ZONEINFO_PREFIX, or NULL. */
static const quelvo_zone_file *find_file(const char *path) {
  const size_t prefix = strlen(QUELVO_ZONEINFO_PREFIX);
  if (!path || strncmp(path, QUELVO_ZONEINFO_PREFIX, prefix) != 0) return NULL;
  return (const quelvo_zone_file *)bsearch(path + prefix, quelvo_zone_files, quelvo_zone_file_count,
                                           sizeof(quelvo_zone_file), compare_name);
}

FILE *quelvo_zone_fopen(const char *path, const char *mode) {
  const quelvo_zone_file *file = find_file(path);
  zone_stream *stream;
  if (!file || !mode || mode[0] != 'r' || strchr(mode, '+')) {
    errno = file ? EACCES : ENOENT;
    return NULL;
  }
  stream = (zone_stream *)malloc(sizeof(zone_stream));
  if (!stream) {
    errno = ENOMEM;
    return NULL;
  }
  stream->data = file->data;
  stream->size = file->size;
  stream->pos = 0;
  return (FILE *)stream;
}

size_t quelvo_zone_fread(void *buffer, size_t size, size_t count, FILE *f) {
  zone_stream *stream = (zone_stream *)f;
  size_t whole;
  if (size == 0 || count == 0) return 0;
  whole = (stream->size - stream->pos) / size;
  if (whole > count) whole = count;
  memcpy(buffer, stream->data + stream->pos, whole * size);
  stream->pos += whole * size;
  return whole;
}

int quelvo_zone_fseek(FILE *f, long offset, int whence) {
  zone_stream *stream = (zone_stream *)f;
  long long from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? (long long)stream->pos : (long long)stream->size;
  if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
  if (from + offset < 0 || from + offset > (long long)stream->size) return -1;
  stream->pos = (size_t)(from + offset);
  return 0;
}

int quelvo_zone_fgetc(FILE *f) {
  zone_stream *stream = (zone_stream *)f;
  return stream->pos < stream->size ? stream->data[stream->pos++] : EOF;
}

char *quelvo_zone_fgets(char *buffer, int size, FILE *f) {
  zone_stream *stream = (zone_stream *)f;
  int n = 0;
  if (size <= 0 || stream->pos >= stream->size) return NULL;
  while (n < size - 1 && stream->pos < stream->size) {
    const char c = (char)stream->data[stream->pos++];
    buffer[n++] = c;
    if (c == '\n') break;
  }
  buffer[n] = '\0';
  return buffer;
}

int quelvo_zone_ferror(FILE *f) {
  (void)f;
  return 0;
}

int quelvo_zone_fclose(FILE *f) {
  free(f);
  return 0;
}

int quelvo_zone_access(const char *path, int mode) {
  if (find_file(path) && (mode & W_OK) == 0) return 0;
  errno = ENOENT;
  return -1;
}
