// Fuzzes SmoothtoGroupOBJ: any bytes as the input OBJ, rewritten to another
// file or in place. A success must give exactly the plain rewrite of the
// input's lines; a failure must leave both files as they were.
#include <algorithm>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Reference.h"
#include "pellando.h"

namespace {

std::string PlainRewrite(const std::vector<std::string>& lines) {
    std::string out = "# Exported from Pellando plugin test version" + std::string(platform::kNewline);
    for (const std::string& line : lines) {
        std::string text = line;
        if (!line.empty() && line[0] == 'v' && (line.size() < 2 || line[1] != ' ')) continue;
        if (!line.empty() && line[0] == 'g') text[0] = '#';
        if (!line.empty() && line[0] == 's') text = "g " + line.substr(1, 256);
        out += text;
        out += platform::kNewline;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const bool inPlace = size > 0 && (data[0] & 1);
    const std::string in = fuzz::Path("in.obj"), out = inPlace ? in : fuzz::Path("out.obj");
    const std::string oldOutput = "old output\n";
    std::filesystem::remove(fuzz::Path("out.obj"));
    fuzz::Write(in, input);
    if (!inPlace) fuzz::Write(out, oldOutput);
    std::vector<char> buffer(out.begin(), out.end());
    buffer.push_back('\0');

    float result = SmoothtoGroupOBJ(in.c_str(), 0, buffer.data());

    auto lines = ReferenceLines(input);
    if (result == PELLANDO_OK) {
        fuzz::Check(lines.has_value(), "a file cut short by 0x1A was rewritten");
        fuzz::Check(fuzz::Read(out) == PlainRewrite(*lines), "the output differs from the plain rewrite");
    } else {
        fuzz::Check(result == PELLANDO_FAILED && !lines, "an unexpected result");
        fuzz::Check(fuzz::Read(in) == input, "the input changed on a failure");
        if (!inPlace) fuzz::Check(fuzz::Read(out) == oldOutput, "the output changed on a failure");
    }
    fuzz::Check(fuzz::Names() == (inPlace ? std::vector<std::string>{"in.obj"}
                                           : std::vector<std::string>{"in.obj", "out.obj"}),
                "a stray file in the folder");
    return 0;
}
