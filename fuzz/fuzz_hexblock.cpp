// The hex block codec: decoding what was encoded gives the bytes back, in
// memory and through files, and the file reader decodes any text as the
// in-memory one does, also across the boundaries of its read chunks.

#include <cstdint>
#include <string>

#include "core/hexblock.h"
#include "fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first line names the block (a name cannot hold a line break); the
    // rest is both the bytes to encode and the text to decode.
    const size_t eol = input.find_first_of("\r\n");
    const std::string name(input.substr(0, std::min(eol, size_t(40))));
    const std::string_view bytes = eol == std::string_view::npos ? "" : input.substr(eol + 1);

    const std::string block = lumaris::hexBlockText(bytes, name);
    FUZZ_CHECK(lumaris::decodeHexBlock(block, name) == bytes);

    const std::string source = fuzz::writeFile("bytes.bin", bytes);
    const std::string target = fuzz::writeFile("block.txt", "noise\r\n");
    const std::string out = fuzz::file("out.bin");
    FUZZ_CHECK(lumaris::appendFileAsHexBlock(source, target, name));
    FUZZ_CHECK(lumaris::extractHexBlock(target, out, name));
    FUZZ_CHECK(fuzz::readFile(out) == bytes);

    // The rest as a text to decode; for one input in eight (a costly step)
    // shifted so that one of the reader's 64 KiB chunks ends inside it.
    std::string text(bytes);
    if (size > 0 && data[0] % 8 == 0)
        text.insert(0, 65536 - size_t(data[size - 1]) % (text.size() + 1), 'x');
    const std::string path = fuzz::writeFile("text.txt", text);
    FUZZ_CHECK(lumaris::extractHexBlock(path, out, name));
    FUZZ_CHECK(fuzz::readFile(out) == lumaris::decodeHexBlock(text, name));
    return 0;
}
