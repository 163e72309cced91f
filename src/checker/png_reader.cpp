#include "checker/png_reader.h"

#include <zlib.h>

#include <array>
#include <memory>
#include <vector>

#include "platform/open_file.h"

namespace checker {

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;
constexpr std::size_t kBufferBytes = 64 * 1024;

std::uint32_t BigEndian(const unsigned char* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           bytes[3];
}

// Rows of the image as the compressed data holds them: each row is a filter byte and its bytes.
struct RowRun {
    std::uint64_t rows = 0;
    std::uint64_t rowBytes = 0;  // filter byte included
};

class Inflater {
public:
    Inflater() { ok_ = inflateInit(&stream_) == Z_OK; }
    ~Inflater() {
        if (ok_) inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    void Expect(std::vector<RowRun> runs) {
        runs_ = std::move(runs);
        for (const RowRun& run : runs_) expected_ += run.rows * run.rowBytes;
    }

    // Feeds compressed bytes; false with a problem once the data is wrong.
    bool Feed(const unsigned char* data, std::size_t size, std::string& problem) {
        if (!ok_) return problem = "the decompressor could not start", false;
        if (ended_) return true;  // bytes after the stream's end are ignored, as decoders do
        stream_.next_in = const_cast<unsigned char*>(data);
        stream_.avail_in = static_cast<uInt>(size);
        while (stream_.avail_in > 0 && !ended_) {
            stream_.next_out = output_.data();
            stream_.avail_out = static_cast<uInt>(output_.size());
            const int result = inflate(&stream_, Z_NO_FLUSH);
            if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
                return problem = "the image data is not valid compressed data", false;
            }
            if (!Consume(output_.data(), output_.size() - stream_.avail_out, problem)) return false;
            ended_ = result == Z_STREAM_END;
            if (result == Z_BUF_ERROR && stream_.avail_out != 0) break;
        }
        return true;
    }

    bool Finish(std::string& problem) const {
        if (!ended_ || produced_ < expected_) {
            problem = "the image data ends early (" + std::to_string(produced_) + " of " + std::to_string(expected_) +
                      " bytes)";
            return false;
        }
        return true;
    }

private:
    bool Consume(const unsigned char* bytes, std::size_t size, std::string& problem) {
        for (std::size_t i = 0; i < size; ++i) {
            if (produced_ == expected_) return problem = "the image data holds more bytes than the image", false;
            if (produced_ == nextRowStart_) {
                if (bytes[i] > 4)
                    return problem = "a row has an unknown filter type " + std::to_string(bytes[i]), false;
                AdvanceRow();
            }
            ++produced_;
        }
        return true;
    }

    void AdvanceRow() {
        while (run_ < runs_.size() && rowInRun_ >= runs_[run_].rows) {
            ++run_;
            rowInRun_ = 0;
        }
        if (run_ >= runs_.size()) return;
        nextRowStart_ += runs_[run_].rowBytes;
        ++rowInRun_;
    }

    z_stream stream_{};
    bool ok_ = false;
    bool ended_ = false;
    std::vector<RowRun> runs_;
    std::size_t run_ = 0;
    std::uint64_t rowInRun_ = 0;
    std::uint64_t expected_ = 0;
    std::uint64_t produced_ = 0;
    std::uint64_t nextRowStart_ = 0;
    std::array<unsigned char, kBufferBytes> output_{};
};

int Channels(int colorType) {
    switch (colorType) {
        case 0:
        case 3:
            return 1;
        case 2:
            return 3;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 0;
    }
}

bool ValidDepth(int colorType, int depth) {
    switch (colorType) {
        case 0:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case 3:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case 2:
        case 4:
        case 6:
            return depth == 8 || depth == 16;
        default:
            return false;
    }
}

// The row runs of a plain or an Adam7-interlaced image.
std::vector<RowRun> RowRuns(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel, bool interlaced) {
    const auto run = [&](std::uint64_t w, std::uint64_t h) {
        return RowRun{w == 0 ? 0 : h, 1 + (w * bitsPerPixel + 7) / 8};
    };
    if (!interlaced) return {run(width, height)};
    struct Pass {
        int x0, y0, dx, dy;
    };
    constexpr Pass passes[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    std::vector<RowRun> runs;
    for (const Pass& pass : passes) {
        const std::uint64_t w =
            width > static_cast<std::uint64_t>(pass.x0) ? (width - pass.x0 + pass.dx - 1) / pass.dx : 0;
        const std::uint64_t h =
            height > static_cast<std::uint64_t>(pass.y0) ? (height - pass.y0 + pass.dy - 1) / pass.dy : 0;
        if (w != 0 && h != 0) runs.push_back(run(w, h));
    }
    return runs;
}

// Reads the file in order, and stops at kMaxCheckedBytes.
class ChunkReader {
public:
    explicit ChunkReader(std::FILE* file) : file_(file) {}

    bool Read(unsigned char* bytes, std::size_t size) {
        if (size > kMaxCheckedBytes - read_) return tooLong_ = true, false;
        read_ += size;
        return std::fread(bytes, 1, size, file_) == size;
    }
    bool TooLong() const { return tooLong_; }

private:
    std::FILE* file_;
    std::uint64_t read_ = 0;
    bool tooLong_ = false;
};

PngCheck Fail(PngCheck check, std::string problem) {
    check.valid = false;
    check.problem = std::move(problem);
    return check;
}

// The 13 bytes of IHDR: the size, colour type and depth, methods; readies the inflater for the
// image's rows. Empty when they are sound, else what is wrong.
std::string ReadHeader(const std::vector<unsigned char>& header, PngCheck& check, Inflater& inflater, int& colorType) {
    check.width = BigEndian(header.data());
    check.height = BigEndian(header.data() + 4);
    const int depth = header[8];
    colorType = header[9];
    if (check.width == 0 || check.height == 0 || check.width > kMaxChunkLength || check.height > kMaxChunkLength) {
        return "the header gives an impossible size";
    }
    check.hasHeader = true;
    if (!ValidDepth(colorType, depth)) return "the header gives an invalid colour type and depth";
    if (header[10] != 0 || header[11] != 0 || header[12] > 1) return "the header gives an unknown method";
    if (std::uint64_t{check.width} * check.height > kMaxCheckedPixels) {
        return "the image is " + std::to_string(check.width) + " x " + std::to_string(check.height) +
               ", too large to be a skin image";
    }
    inflater.Expect(
        RowRuns(check.width, check.height, static_cast<std::uint64_t>(Channels(colorType)) * depth, header[12] == 1));
    return {};
}

}  // namespace

PngCheck CheckPng(std::FILE* file) {
    PngCheck check;
    ChunkReader reader(file);
    unsigned char signature[8] = {};
    if (!reader.Read(signature, sizeof signature) || !std::equal(signature, signature + 8, kSignature)) {
        return Fail(check, "not a PNG file (wrong signature)");
    }
    Inflater inflater;
    bool inflating = false;
    bool sawPalette = false, sawData = false;
    int colorType = 0;
    std::vector<unsigned char> buffer(kBufferBytes);
    for (bool first = true;; first = false) {
        unsigned char head[8];
        if (!reader.Read(head, sizeof head)) return Fail(check, "the file ends before its IEND chunk");
        const std::uint32_t length = BigEndian(head);
        const std::string type(reinterpret_cast<const char*>(head + 4), 4);
        if (length > kMaxChunkLength) return Fail(check, "chunk " + type + " has an impossible length");
        if (first && type != "IHDR") return Fail(check, "the first chunk is not IHDR");

        uLong crc = crc32(0L, head + 4, 4);
        std::vector<unsigned char> header;
        std::string problem;
        for (std::uint32_t left = length; left > 0;) {
            const std::size_t take = std::min<std::size_t>(left, buffer.size());
            if (!reader.Read(buffer.data(), take)) {
                return Fail(check,
                            reader.TooLong() ? "the file is longer than 64 MiB" : "the file ends inside chunk " + type);
            }
            crc = crc32(crc, buffer.data(), static_cast<uInt>(take));
            if (type == "IHDR" && header.size() < 13)
                header.insert(header.end(), buffer.begin(),
                              buffer.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(take, 13)));
            if (type == "IDAT" && inflating && !inflater.Feed(buffer.data(), take, problem))
                return Fail(check, problem);
            left -= static_cast<std::uint32_t>(take);
        }
        unsigned char storedCrc[4];
        if (!reader.Read(storedCrc, sizeof storedCrc)) return Fail(check, "the file ends inside chunk " + type);
        if (BigEndian(storedCrc) != static_cast<std::uint32_t>(crc))
            return Fail(check, "chunk " + type + " fails its CRC");

        if (type == "IHDR") {
            if (!first) return Fail(check, "a second IHDR chunk");
            if (length != 13) return Fail(check, "IHDR has the wrong length");
            problem = ReadHeader(header, check, inflater, colorType);
            if (!problem.empty()) return Fail(check, problem);
            inflating = true;
        } else if (type == "PLTE") {
            sawPalette = true;
        } else if (type == "IDAT") {
            if (colorType == 3 && !sawPalette)
                return Fail(check, "a palette image without a PLTE chunk before its data");
            sawData = true;
        } else if (type == "IEND") {
            if (!sawData) return Fail(check, "there is no image data (IDAT)");
            if (!inflater.Finish(problem)) return Fail(check, problem);
            check.valid = true;
            return check;
        } else if (type[0] >= 'A' && type[0] <= 'Z') {
            return Fail(check, "an unknown critical chunk " + type);
        }
    }
}

PngCheck CheckPngFile(const std::string& path) {
    const platform::UniqueFile file = platform::OpenFileForReading(path);
    if (!file) return Fail(PngCheck{}, "the file cannot be read");
    return CheckPng(file.get());
}

}  // namespace checker
