// Runs a fuzz target over stored inputs without libFuzzer, so that the normal
// build and CTest check every seed and every regression input on each change.
// Arguments are files or folders (every regular file inside, in name order).
// An argument that yields no input at all fails: a corpus that went missing
// must not pass as a corpus that holds.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

std::vector<std::filesystem::path> InputsIn(const std::filesystem::path& argument) {
  if (!std::filesystem::is_directory(argument)) return {argument};
  std::vector<std::filesystem::path> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(argument)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

bool ReadInput(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <corpus folder or input file>...\n", argv[0]);
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    const std::vector<std::filesystem::path> inputs = InputsIn(argv[i]);
    if (inputs.empty()) {
      std::fprintf(stderr, "%s: no inputs\n", argv[i]);
      return 1;
    }
    for (const std::filesystem::path& input : inputs) {
      std::vector<std::uint8_t> bytes;
      if (!ReadInput(input, bytes)) {
        std::fprintf(stderr, "%s: cannot be read\n", input.c_str());
        return 1;
      }
      // As libFuzzer does: a buffer of exactly the input's size (so that
      // AddressSanitizer sees a read past its end), never a null pointer. An
      // input the target declines (-1) is still a run that must not fail.
      const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size()]);
      std::copy(bytes.begin(), bytes.end(), copy.get());
      LLVMFuzzerTestOneInput(copy.get(), bytes.size());
    }
    std::printf("%s: %zu inputs replayed\n", argv[i], inputs.size());
  }
  return 0;
}
