// Fuzzes SwapVertices: the input is split into a source and a target OBJ at
// its first NUL byte (or in the middle); its first byte picks whether source
// and target are one file.
// A success must give exactly the plain swap of the two files' lines; a
// failure must leave the target as it was.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Reference.h"
#include "pellando.h"

namespace {

bool IsVertex(const std::string& line) { return line.size() >= 2 && line[0] == 'v' && line[1] == ' '; }

// The swap by the letter of the rules, on whole files in memory; "" when it
// must fail.
std::string PlainSwap(const std::string& source, const std::string& target) {
    auto sourceLines = ReferenceLines(source);
    auto targetLines = ReferenceLines(target);
    if (!sourceLines || !targetLines) return "";
    std::string out = "# written by Quillfer plugin for Orvex" + std::string(platform::kNewline);
    std::size_t vertices = 0, targetVertices = 0, kept = 0;
    for (const std::string& line : *sourceLines) {
        if (!IsVertex(line)) continue;
        out += line + std::string(platform::kNewline);
        ++vertices;
    }
    for (const std::string& line : *targetLines) {
        if (IsVertex(line)) {
            ++targetVertices;
        } else if (line.empty() || line[0] != '#') {
            out += line + std::string(platform::kNewline);
            ++kept;
        }
    }
    return vertices > 0 && vertices == targetVertices && kept > 0 ? out : "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool sameFile = data[0] & 1;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t cut = rest.find('\0');
    const std::string source = sameFile ? rest : rest.substr(0, cut == std::string::npos ? rest.size() / 2 : cut);
    const std::string target = sameFile ? rest : rest.substr(cut == std::string::npos ? rest.size() / 2 : cut + 1);
    const std::string sourcePath = fuzz::Path("source.obj"), targetPath = sameFile ? sourcePath : fuzz::Path("target.obj");
    std::filesystem::remove(fuzz::Path("target.obj"));
    fuzz::Write(sourcePath, source);
    if (!sameFile) fuzz::Write(targetPath, target);
    std::vector<char> buffer(targetPath.begin(), targetPath.end());
    buffer.push_back('\0');

    float result = SwapVertices(sourcePath.c_str(), 0, buffer.data());

    const std::string expected = PlainSwap(source, target);
    if (expected.empty()) {
        fuzz::Check(result == PELLANDO_FAILED, "a swap that must fail answered success");
        fuzz::Check(fuzz::Read(targetPath) == target, "a failed swap changed the target");
    } else {
        fuzz::Check(result == PELLANDO_OK, "a swap that must succeed failed");
        fuzz::Check(fuzz::Read(targetPath) == expected, "the target differs from the plain swap");
    }
    if (!sameFile) fuzz::Check(fuzz::Read(sourcePath) == source, "the source changed");
    fuzz::Check(fuzz::Names() == (sameFile ? std::vector<std::string>{"source.obj"}
                                           : std::vector<std::string>{"source.obj", "target.obj"}),
                "a stray file in the folder");
    return 0;
}
