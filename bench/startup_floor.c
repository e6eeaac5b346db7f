/* The floor of a run of the tool: a C program linking the picture libraries
 * the tool links (libspng, zlib, TurboJPEG and libjpeg), which does nothing.
 * bench/startup_vs_peers.sh builds it and measures `corvane --version`
 * against it: the difference is what our own start-up costs. */
#include <stddef.h>
#include <stdio.h>
/* jpeglib.h needs size_t and FILE declared first. */
#include <jpeglib.h>
#include <spng.h>
#include <turbojpeg.h>
#include <zlib.h>

int main(int argc, char** argv) {
    /* Never true in the benchmark: the calls only keep each library a
     * symbol bound, as the tool's calls do. */
    if (argc > 99) {
        struct jpeg_error_mgr errors;
        jpeg_std_error(&errors);
        printf("%s %s %p %s\n", spng_version_string(), zlibVersion(), tjInitDecompress(), argv[0]);
    }
    return 0;
}
