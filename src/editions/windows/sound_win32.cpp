// Sound on Windows through winmm's waveOut, the Windows backend of the sound output (the list
// and the rules of playing are shared, src/assets/). A sample is read whole into memory with the
// multimedia file calls and handed to its channel's wave output as one block, so the music
// starts within a few milliseconds of PlaySample, just before the first frame, with nothing
// left to read from the disk while the demo runs. Every failure is silent: the demo then runs
// the same without sound.
#include "assets/sound.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>

namespace kelvorin {

namespace {

// One channel: its wave output and the block it plays.
struct Channel {
    HWAVEOUT output;
    WAVEHDR block;
};
Channel channels[SOUND_NAMES];

// Reads a RIFF WAVE file: its format and its sample data, allocated with malloc.
bool ReadWave(const char *path, WAVEFORMATEX *format, char **data, DWORD *size) {
    HMMIO file = mmioOpenA((LPSTR)path, nullptr, MMIO_READ | MMIO_ALLOCBUF);
    if (!file) return false;
    bool read = false;
    MMCKINFO riff, chunk;
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR &&
        mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR &&
        chunk.cksize >= sizeof(PCMWAVEFORMAT)) {
        // Only plain PCM is played; its format has no extra bytes. A block size of 0 would
        // leave the length of the played data undefined.
        *format = WAVEFORMATEX{};
        if (mmioRead(file, (HPSTR)format, sizeof(PCMWAVEFORMAT)) == (LONG)sizeof(PCMWAVEFORMAT) &&
            format->wFormatTag == WAVE_FORMAT_PCM && format->nBlockAlign > 0 &&
            mmioAscend(file, &chunk, 0) == MMSYSERR_NOERROR) {
            chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
            if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR &&
                chunk.cksize > 0 && (*data = (char *)std::malloc(chunk.cksize)) != nullptr) {
                // A file cut short plays what it has.
                LONG got = mmioRead(file, *data, (LONG)chunk.cksize);
                *size = got > 0 ? (DWORD)got : 0;
                read = *size > 0;
                if (!read) std::free(*data);
            }
        }
    }
    mmioClose(file, 0);
    return read;
}

void StopChannel(Channel &channel) {
    if (!channel.output) return;
    waveOutReset(channel.output);
    if (channel.block.dwFlags & WHDR_PREPARED)
        waveOutUnprepareHeader(channel.output, &channel.block, sizeof channel.block);
    waveOutClose(channel.output);
    std::free(channel.block.lpData);
    channel = Channel{};
}

}  // namespace

// The output is the wave mapper, Windows' default device; each channel opens its own wave
// output in the format of the sample it plays. With no device the demo is silent.
bool OpenSoundOutput() {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    return waveOutGetNumDevs() > 0 &&
           waveOutOpen(nullptr, WAVE_MAPPER, &format, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
}

void PlaySoundFile(int channel, const char *path, bool loop) {
    Channel &playing = channels[channel];
    StopChannel(playing);
    WAVEFORMATEX format;
    char *data = nullptr;
    DWORD size = 0;
    if (!ReadWave(path, &format, &data, &size)) return;
    if (waveOutOpen(&playing.output, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) !=
        MMSYSERR_NOERROR) {
        playing.output = nullptr;
        std::free(data);
        return;
    }
    playing.block.lpData = data;
    playing.block.dwBufferLength = size - size % format.nBlockAlign;
    if (loop) {
        playing.block.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
        playing.block.dwLoops = 0xFFFFFFFF;
    }
    if (waveOutPrepareHeader(playing.output, &playing.block, sizeof playing.block) !=
            MMSYSERR_NOERROR ||
        waveOutWrite(playing.output, &playing.block, sizeof playing.block) != MMSYSERR_NOERROR)
        StopChannel(playing);
}

void CloseSoundOutput() {
    for (Channel &channel : channels) StopChannel(channel);
}

}  // namespace kelvorin
