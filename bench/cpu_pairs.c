/* Runs two commands alternately, pair after pair, and prints the processor
 * time (user + system, of the process and all it waits for) of each side:
 * the medians over the pairs and the median of the pairs' ratios.
 *
 *   cpu_pairs PAIRS COMMAND-A ... -- COMMAND-B ...
 *
 * prints "A-median-ms B-median-ms median-of-A/B". The kernel's sum of a
 * child's user and system time counts its running time to the nanosecond
 * (only the split between the two is sampled), where /usr/bin/time prints
 * hundredths of a second: runs of a few milliseconds are measured one by one.
 * Pairs alternate which side runs first, so neither always finds the caches
 * the other warmed; two pairs run first and are not counted. Standard output
 * and error of both go to /dev/null; a command that fails stops the run. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

static double run(char** argv) {
    const pid_t child = fork();
    if (child < 0) {
        perror("cpu_pairs: fork");
        exit(2);
    }
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    struct rusage usage;
    if (wait4(child, &status, 0, &usage) != child) {
        perror("cpu_pairs: wait4");
        exit(2);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fprintf(stderr, "cpu_pairs: %s failed (status %d)\n", argv[0], status);
        exit(2);
    }
    return (double)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (double)(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

static int compare(const void* a, const void* b) {
    const double x = *(const double*)a, y = *(const double*)b;
    return (x > y) - (x < y);
}

static double median(double* values, int n) {
    qsort(values, (size_t)n, sizeof *values, compare);
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int main(int argc, char** argv) {
    int split = 2;
    while (split < argc && strcmp(argv[split], "--") != 0) ++split;
    const int pairs = argc > 1 ? atoi(argv[1]) : 0;
    if (argc < 5 || pairs < 1 || split < 3 || split + 1 >= argc) {
        fprintf(stderr, "usage: cpu_pairs PAIRS COMMAND-A ... -- COMMAND-B ...\n");
        return 2;
    }
    argv[split] = NULL;
    char** a = argv + 2;
    char** b = argv + split + 1;
    double* as = malloc(sizeof(double) * (size_t)pairs);
    double* bs = malloc(sizeof(double) * (size_t)pairs);
    double* ratios = malloc(sizeof(double) * (size_t)pairs);
    if (!as || !bs || !ratios) return 2;
    for (int i = -2; i < pairs; ++i) {
        double x, y;
        if (i % 2 == 0) {
            x = run(a);
            y = run(b);
        } else {
            y = run(b);
            x = run(a);
        }
        if (i < 0) continue;
        as[i] = x;
        bs[i] = y;
        ratios[i] = y > 0 ? x / y : 0;
    }
    const double ratio = median(ratios, pairs);
    printf("%.3f %.3f %.3f\n", median(as, pairs), median(bs, pairs), ratio);
    free(as);
    free(bs);
    free(ratios);
    return 0;
}
