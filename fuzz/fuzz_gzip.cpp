// Reading compressed logs: any bytes read as a file (gzip's or not) end
// without a crash or a hang; and the input itself, compressed and cut at a
// point the input chooses, reads back as a prefix of itself, all of it when
// nothing was cut, with a note exactly when the end is missing.
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "bytes/LogFiles.h"

using namespace kestal;
using kestal::fuzz::check;

namespace {

struct ScratchFile {
    std::string path;
    ScratchFile() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestal-fuzz-gz-XXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) std::abort();
        ::close(fd);
        path = pattern;
    }
    ~ScratchFile() { std::filesystem::remove(path); }
};

std::string gzipped(std::string_view bytes) {
    z_stream stream{};
    if (deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) std::abort();
    std::string out(deflateBound(&stream, bytes.size()) + 64, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) std::abort();
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// The file's bytes as the log reader gives them, and its note.
std::string readBack(const std::string& path, const std::string& bytes, std::string& note) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    std::string read;
    const auto notes = streamLogFiles({path}, [&](std::string_view piece) {
        read.append(piece);
        // A tiny input that decompresses without end would be a hang.
        check(read.size() < (std::size_t{64} << 20), "no end to the decompressed bytes");
    });
    note = notes.empty() ? std::string() : notes.front().text;
    return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile file;
    kestal::fuzz::Input input(data, size);
    const std::uint8_t cutChoice = input.byte();
    const std::string_view text = input.take(size);

    std::string note;
    readBack(file.path, std::string(text), note);  // anything at all: it ends

    const std::string packed = gzipped(text);
    // 255: nothing cut; else cut at that share of the compressed bytes.
    const std::size_t kept = cutChoice == 255 ? packed.size() : packed.size() * cutChoice / 255;
    const std::string read = readBack(file.path, packed.substr(0, kept), note);
    if (kept < 2) {
        // Less than gzip's two magic bytes is no compressed file: read as it is.
        check(read == packed.substr(0, kept), "a file too short for gzip reads as it is", read);
        return 0;
    }
    check(text.substr(0, read.size()) == read, "what was read is the start of the text", read);
    if (kept == packed.size()) {
        check(read == text, "a whole compressed file reads back whole", read);
        check(note.empty(), "no note on a whole file", note);
    } else if (kept > 0) {
        check(!note.empty(), "a file cut short is told", packed.substr(0, kept));
    }
    return 0;
}
