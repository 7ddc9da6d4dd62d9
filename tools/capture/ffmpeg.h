// The ffmpeg and ffprobe programs as child processes: the music's length, and an encoder that
// takes raw frames on a pipe and writes the video under a temporary name in the target folder,
// renamed to the final name only when everything succeeded.
#pragma once
#include <sys/types.h>

#include <string>

namespace kelvorin {

// Every video is tagged BT.709 (matrix, primaries, transfer) in the stream and the container,
// as players and video sites read HD, and its YUV made with that matrix in limited range. The
// codecs: H.264 (CRF 18) and AAC, or VP9 and Opus in WebM; with upload, H.264 High with a
// closed GOP of half a second and AAC-LC at 48 kHz and 384 kbit/s, the index first; lossless,
// FFV1 in RGB (tagged sRGB, as the frames are) and FLAC.
struct VideoRequest {
    std::string file;  // the final name; its extension picks the container and codecs
    int width, height;
    long fps;
    std::string music;  // empty: no sound track
    double musicStart;  // seconds into the music at the video's first frame
    double length;      // seconds of video
    bool upload = false, lossless = false;
};

struct Encoder {
    pid_t pid = -1;
    int frames = -1;      // write end of ffmpeg's standard input
    int messages = -1;    // ffmpeg's standard error, kept in an unlinked temporary file
    std::string partial;  // the name ffmpeg writes to
};

// The byte layout of one frame on the pipe: GL_BGRA rows, bottom row first.
enum { VIDEO_BYTES_PER_PIXEL = 4 };

// A file name's extension in lower case with its dot (".mp4"), or empty.
std::string Extension(const std::string &file);

// The length in seconds of a media file, by ffprobe. False with a reason in *error: cannot
// run ffprobe (*missing set) or the file is not readable media.
bool ProbeLength(const std::string &path, double *seconds, bool *missing, std::string *error);

// Starts ffmpeg. False with a one-line reason when it cannot be started.
bool StartEncoder(const VideoRequest &request, Encoder *encoder, std::string *error);

// Closes the frame pipe and waits for ffmpeg. When success is still true and ffmpeg succeeded,
// renames the partial file to the final name; otherwise removes it. False with ffmpeg's last
// message when ffmpeg failed.
bool FinishEncoder(Encoder *encoder, const std::string &file, bool success, std::string *error);

}  // namespace kelvorin
