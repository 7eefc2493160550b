#include "jpeg_huffman.h"

#include <algorithm>

namespace conv {

HuffmanSpec OptimalHuffman(const std::array<std::uint32_t, 256>& frequencies) {
    // Code lengths by repeatedly joining the two rarest subtrees. A reserved
    // symbol of count 1 takes the longest code, so no code is all ones.
    std::array<std::uint64_t, 257> freq{};
    std::copy(frequencies.begin(), frequencies.end(), freq.begin());
    freq[256] = 1;
    std::array<int, 257> codeSize{};
    std::array<int, 257> next; // the next symbol of the same subtree
    next.fill(-1);
    for (;;) {
        int v1 = -1, v2 = -1; // rarest, then second rarest; ties to the larger symbol
        for (int v = 0; v <= 256; ++v)
            if (freq[v] && (v1 < 0 || freq[v] <= freq[v1]))
                v1 = v;
        for (int v = 0; v <= 256; ++v)
            if (freq[v] && v != v1 && (v2 < 0 || freq[v] <= freq[v2]))
                v2 = v;
        if (v2 < 0)
            break;
        freq[v1] += freq[v2];
        freq[v2] = 0;
        for (++codeSize[v1]; next[v1] >= 0; ++codeSize[v1])
            v1 = next[v1];
        next[v1] = v2;
        for (++codeSize[v2]; next[v2] >= 0; ++codeSize[v2])
            v2 = next[v2];
    }
    std::array<int, 258> bits{}; // codes per length, up to the deepest possible tree
    for (int v = 0; v <= 256; ++v)
        if (codeSize[v])
            ++bits[codeSize[v]];
    // Baseline codes are at most 16 bits: a pair at a deep level becomes one
    // code a level up and one a level below the deepest shorter prefix.
    for (int i = 257; i > 16; --i)
        while (bits[i] > 0) {
            int j = i - 2;
            while (bits[j] == 0)
                --j;
            bits[i] -= 2;
            ++bits[i - 1];
            bits[j + 1] += 2;
            --bits[j];
        }
    int longest = 16;
    while (bits[longest] == 0)
        --longest;
    --bits[longest]; // the reserved symbol's code
    HuffmanSpec spec{};
    for (int len = 1; len <= 16; ++len)
        spec.counts[len - 1] = static_cast<std::uint8_t>(bits[len]);
    // Shorter codes first; among equally long ones the more frequent first, so
    // that where the cut to 16 bits changes lengths it lengthens the rarer.
    for (int v = 0; v < 256; ++v)
        if (codeSize[v])
            spec.symbols.push_back(static_cast<std::uint8_t>(v));
    std::stable_sort(spec.symbols.begin(), spec.symbols.end(), [&](int a, int b) {
        return codeSize[a] != codeSize[b] ? codeSize[a] < codeSize[b]
                                          : frequencies[a] > frequencies[b];
    });
    return spec;
}

void HuffmanCodes::Set(int table, const HuffmanSpec& spec) {
    unsigned next = 0;
    std::size_t k = 0;
    for (int len = 1; len <= 16; ++len) {
        for (int i = 0; i < spec.counts[len - 1]; ++i, ++k) {
            const int size = spec.symbols[k] & 15;
            entry[table * 256 + spec.symbols[k]] = ((next++ << size) << 5) | (len + size);
        }
        next <<= 1;
    }
}

} // namespace conv
