#include "textio/TextReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Platform.h"
#include "Reference.h"
#include "Scratch.h"

namespace {

struct ReadResult {
    std::vector<std::string> lines;
    bool failed = false;
};

ReadResult ReadAll(const std::string& path) {
    ReadResult result;
    textio::TextReader reader;
    EXPECT_TRUE(reader.open(path.c_str()));
    std::string_view line;
    while (reader.next(line)) result.lines.emplace_back(line);
    result.failed = reader.failed();
    return result;
}

// What the C runtime's own text mode reads: the rules the reader stands in for.
std::vector<std::string> RuntimeTextLines(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (int c; (c = std::fgetc(file)) != EOF;) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            line += static_cast<char>(c);
            open = true;
        }
    }
    if (open) lines.push_back(line);
    std::fclose(file);
    return lines;
}

// Inputs where line ends and the end of the file are easy to get wrong.
const std::vector<std::string> kTrickyInputs = {
    "",
    "a",
    "a\n",
    "a\nb",
    "\n\n",
    "a\r\nb\r\n",
    "a\rb\n",       // a CR alone ends no line
    "a\r\r\nb",     // only the CR right before LF goes
    "\r",
    "\r\n",
    "a\r",
    "one\rtwo\rthree\r",
    std::string("nul\0inside\n", 11),
    "x\x1a",
    "x\r\n\x1a\x1a\x1a",
    "\x1a",
    "a\r\x1a",
    "v 1 2 3\r\nf 1 2 3\r\n",
};

TEST(TextReaderTest, ReadsWhatTheRuntimeTextModeReads) {
    Scratch scratch;
    for (const std::string& input : kTrickyInputs) {
        scratch.write("in.txt", input);
        ReadResult read = ReadAll(scratch.path("in.txt"));
        EXPECT_FALSE(read.failed);
        EXPECT_EQ(read.lines, RuntimeTextLines(scratch.path("in.txt"))) << "input: " << testing::PrintToString(input);
    }
}

TEST(TextReaderTest, DataAfterCtrlZFailsOnWindowsRulesOnly) {
    Scratch scratch;
    for (const std::string input : {"a\n\x1a" "b\n", "\x1a\x1a x", "head\r\n\x1a\n"}) {
        scratch.write("in.txt", input);
        ReadResult read = ReadAll(scratch.path("in.txt"));
        EXPECT_EQ(read.failed, platform::kWindowsRules) << testing::PrintToString(input);
        if (!platform::kWindowsRules) {
            EXPECT_EQ(read.lines, *ReferenceLines(input));
        }
    }
}

// Lines cut by the chunk boundaries of the reader, CR LF pairs split between
// two reads, lines longer than a chunk and a 0x1A run past the first chunk.
TEST(TextReaderTest, MatchesThePlainReadingAcrossChunks) {
    Scratch scratch;
    std::string input;
    unsigned state = 12345;
    auto next = [&state] { return state = state * 1103515245u + 12345u, (state >> 8) & 0xffff; };
    while (input.size() < (5u << 20)) {
        unsigned kind = next() % 10;
        if (kind == 0) input.append(next() % 3 == 0 ? (3u << 20) / 2 : next() % 5000, 'x');
        else if (kind == 1) input += "\r";
        else if (kind == 2) input += "\r\n";
        else input += "f " + std::to_string(next()) + " " + std::to_string(next());
        input += next() % 4 ? "\n" : "";
    }
    input.append(3u << 20, '\x1a');
    scratch.write("big.txt", input);
    ReadResult read = ReadAll(scratch.path("big.txt"));
    EXPECT_FALSE(read.failed);
    std::vector<std::string> expected = *ReferenceLines(input);
    ASSERT_EQ(read.lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(read.lines[i], expected[i]) << "line " << i;
}

// Runs of whole lines: together the bytes read, each run but the last ending
// in LF, on the same inputs.
TEST(TextReaderTest, RunsOfLinesHoldWholeLines) {
    Scratch scratch;
    std::string big;
    for (int i = 0; big.size() < (3u << 20); ++i) big += i % 7 ? "f 1 2 3\r\n" : std::string(i % 5000, 'x') + "\n";
    std::vector<std::string> inputs = kTrickyInputs;
    inputs.push_back(big + "end");
    inputs.push_back(std::string(2u << 20, 'y') + "\n" + big);
    for (const std::string& input : inputs) {
        scratch.write("in.txt", input);
        textio::TextReader reader;
        ASSERT_TRUE(reader.open(scratch.path("in.txt").c_str()));
        std::string joined;
        std::string_view lines;
        bool lastEndsInLf = true;
        while (reader.nextLines(lines)) {
            ASSERT_FALSE(lines.empty());
            ASSERT_TRUE(lastEndsInLf) << "a run without LF before the last";
            lastEndsInLf = lines.back() == '\n';
            joined += lines;
        }
        EXPECT_FALSE(reader.failed());
        std::string expected = input;
        if (platform::kWindowsRules && expected.find('\x1a') != std::string::npos) expected.resize(expected.find('\x1a'));
        EXPECT_EQ(joined, expected) << testing::PrintToString(input.substr(0, 40));
    }
}

TEST(TextReaderTest, MissingFileCannotBeOpened) {
    Scratch scratch;
    textio::TextReader reader;
    EXPECT_FALSE(reader.open(scratch.path("missing.txt").c_str()));
    EXPECT_FALSE(reader.open(""));
    std::string_view line;
    EXPECT_FALSE(reader.next(line));
}

}  // namespace
