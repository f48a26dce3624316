/* Forced into every libical source of the Windows build. libical falls back
 * to the C library's gmtime() there, which refuses instants before 1970, so
 * the zone changes of those years (Japan's summer time of 1948-1951, say)
 * would be lost and the zones built from them come out wrong. */
#ifndef QUELVO_WINDOWS_TIME_H
#define QUELVO_WINDOWS_TIME_H

#include <pthread.h>
#include <time.h>

#ifdef __cplusplus
extern "C" {
#endif

/* gmtime_r for any time_t whose year fits in struct tm. */
struct tm *quelvo_gmtime_r(const time_t *instant, struct tm *out);

#ifdef __cplusplus
}
#endif

#undef gmtime_r
#define gmtime_r quelvo_gmtime_r

#endif
