/* The zone files embedded by embed_zoneinfo.cmake, sorted by name. */
#ifndef QUELVO_ZONE_FILES_DATA_H
#define QUELVO_ZONE_FILES_DATA_H

#include <stddef.h>

typedef struct {
  const char *name; /* relative to the zoneinfo folder, as "America/Sao_Paulo" */
  const unsigned char *data;
  size_t size;
} quelvo_zone_file;

extern const quelvo_zone_file quelvo_zone_files[];
extern const size_t quelvo_zone_file_count;

#endif
