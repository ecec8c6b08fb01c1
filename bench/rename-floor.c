/* The floor of the rename run: what any program that renames every item file of a pool after
   its contents must do at the least. Lists the directory, then reads each item file and sidecar
   once and renames it once (to R<n> with its extension). Plain C and single-threaded, as the
   floor of the other commands is.
   Build: cc -O2 -o rename-floor rename-floor.c     Run: rename-floor POOL */
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

int main(int argc, char **argv) {
  if (argc < 2) return 2;
  DIR *d = opendir(argv[1]);
  if (!d) return 1;
  /* The names first: a renamed file must not be listed and renamed again. */
  size_t count = 0, capacity = 1024;
  char **names = malloc(capacity * sizeof *names);
  struct dirent *e;
  while (names && (e = readdir(d))) {
    size_t l = strlen(e->d_name);
    if (l < 4 || (strcasecmp(e->d_name + l - 4, ".ITM") && strcasecmp(e->d_name + l - 4, ".IT0"))) continue;
    if (count == capacity) {
      char **more = realloc(names, (capacity *= 2) * sizeof *names);
      if (!more) break;
      names = more;
    }
    names[count++] = strdup(e->d_name);
  }
  closedir(d);
  if (!names) return 1;
  char from[4096], to[4096], buf[4096];
  long sum = 0, renamed = 0;
  for (size_t i = 0; i < count; i++) {
    size_t l = strlen(names[i]);
    int item = !strcasecmp(names[i] + l - 4, ".ITM");
    snprintf(from, sizeof from, "%s/%s", argv[1], names[i]);
    snprintf(to, sizeof to, "%s/R%zu%s", argv[1], i, names[i] + l - 4);
    int fd = open(from, O_RDONLY);
    if (fd < 0) continue;
    ssize_t r = read(fd, buf, item ? 400 : sizeof buf);
    close(fd);
    if (r > 0) sum += buf[0];
    if (rename(from, to) == 0) renamed++;
    free(names[i]);
  }
  free(names);
  return (int)(sum & 0) + (renamed == (long)count ? 0 : 1);
}
