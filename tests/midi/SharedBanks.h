#pragma once
// The real DX7 bank files shared with the project: 4104-byte bulk dumps on channel 1.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace midi {

inline std::vector<std::uint8_t> ReadSharedBank(const std::string& fileName) {
    std::ifstream file(std::string(MONDRAL_SHARED_DIR) + "/banks/" + fileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace midi
