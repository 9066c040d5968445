// A stand-in for libFuzzer's driver where clang is not used: runs the
// harness on the files named on the command line, or, with -seconds=N, on
// random mutations of a few built-in seeds for N seconds. Deterministic.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using namespace std::literals;

constexpr std::string_view kSeeds[] = {
    "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 {\\fonttbl{\\f0\\fcharset204 A;}}{\\*\\htmltag64}"
    "{\\*\\htmltag <p>}\\htmlrtf x\\htmlrtf0 caf\\'e9 \\u8364?\\par\\bin2 {}\\uc2\\u-10179??}"sv,
    "<html><head><meta charset=\"iso-8859-2\"></head><body>\xe9</body></html>"sv,
    "\x2d\0\0\0\x2b\0\0\0LZFu\xf1\xc5\xc7\xa7\x03\0\x0a\0rcpg125B2\x0a\xf3 hel\x09\0 bw\x05\xb0ld}\x0a\x80\x0f\xa0"sv,
};

// Hands `input` to the harness in a heap buffer of exactly its size, as
// libFuzzer does: a std::string's terminator (or a vector's spare capacity)
// behind the data would hide a one-byte over-read from AddressSanitizer.
void RunExactly(std::string_view input) {
  std::unique_ptr<uint8_t[]> exact(new uint8_t[input.size()]);
  std::memcpy(exact.get(), input.data(), input.size());
  LLVMFuzzerTestOneInput(exact.get(), input.size());
}

void RunFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  RunExactly(bytes);
}

void RunRandom(int seconds) {
  std::mt19937 random(1);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  size_t runs = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    std::string input(kSeeds[random() % std::size(kSeeds)]);
    int edits = static_cast<int>(random() % 8);
    for (int e = 0; e < edits && !input.empty(); ++e) {
      size_t at = random() % input.size();
      switch (random() % 4) {
        case 0: input[at] = static_cast<char>(random()); break;
        case 1: input.erase(at, random() % 8); break;
        case 2: input.insert(at, input.substr(random() % input.size(), random() % 16)); break;
        default: input.resize(at); break;
      }
    }
    RunExactly(input);
    ++runs;
  }
  std::printf("%zu inputs run\n", runs);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "-seconds=", 9) == 0) {
      RunRandom(std::atoi(argv[i] + 9));
    } else if (std::filesystem::is_directory(argv[i])) {
      for (const auto& entry : std::filesystem::directory_iterator(argv[i])) RunFile(entry.path());
    } else {
      RunFile(argv[i]);
    }
  }
  return 0;
}
