#include "FuzzInput.h"

#include <algorithm>

namespace orsan::fuzz {

std::vector<size_t> PieceLengths(size_t total, std::vector<size_t> cuts) {
    for (size_t& cut : cuts) cut = total == 0 ? 0 : cut % (total + 1);
    std::sort(cuts.begin(), cuts.end());
    std::vector<size_t> lengths;
    size_t from = 0;
    for (const size_t cut : cuts) {
        lengths.push_back(cut - from);
        from = cut;
    }
    lengths.push_back(total - from);
    return lengths;
}

}  // namespace orsan::fuzz
