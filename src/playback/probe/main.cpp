// orbisong-image-probe IMAGE
//
// Opens a disc image (CUE/BIN, cdrdao TOC or NRG) with libcdio and prints its table of
// contents. The player runs this in a short-lived child with a time and memory limit before
// it opens an image itself: libcdio can crash, hang or exhaust memory on damaged images, and
// that must cost this process, not the player.
//
// Output, one item a line:  first <n> / track <n> <start lba> <audio|data> / leadout <lba>.
// Exit status: 0 when the image opened, 1 when libcdio refused it, 2 on wrong usage.

#include <cdio/cdio.h>
#include <cdio/logging.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

driver_id_t driverFor(const std::string &path)
{
    const auto dot = path.find_last_of('.');
    std::string suffix = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    for (char &c : suffix)
        c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (suffix == "cue")
        return DRIVER_BINCUE;
    if (suffix == "toc")
        return DRIVER_CDRDAO;
    if (suffix == "nrg")
        return DRIVER_NRG;
    return DRIVER_UNKNOWN;
}

// The player logs libcdio's complaints itself when it opens the image; here they are noise.
void quietLog(cdio_log_level_t, const char *)
{
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orbisong-image-probe IMAGE\n");
        return 2;
    }
    const driver_id_t driver = driverFor(argv[1]);
    if (driver == DRIVER_UNKNOWN) {
        std::fprintf(stderr, "not a CUE, TOC or NRG image: %s\n", argv[1]);
        return 2;
    }
    cdio_log_set_handler(quietLog);
    CdIo_t *cdio = cdio_open(argv[1], driver);
    if (!cdio) {
        std::fprintf(stderr, "libcdio cannot open %s\n", argv[1]);
        return 1;
    }
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK) {
        std::printf("first %d\n", int(first));
        for (int t = first; t < int(first) + int(count); ++t) {
            const track_format_t format = cdio_get_track_format(cdio, track_t(t));
            std::printf("track %d %ld %s\n", t, long(cdio_get_track_lba(cdio, track_t(t))),
                        format == TRACK_FORMAT_AUDIO ? "audio" : "data");
        }
    }
    std::printf("leadout %ld\n", long(cdio_get_track_lba(cdio, CDIO_CDROM_LEADOUT_TRACK)));
    cdio_destroy(cdio);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
