#include "quotes/core/SubQuote.h"

#include <algorithm>

namespace kv::quotes {

int SubQuote::lastDetail() const
{
    int last = 0;
    for (const CostLine& l : lines)
        last = std::max(last, l.detail);
    return last;
}

int SubQuote::find(int detail) const
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].detail == detail)
            return static_cast<int>(i);
    return -1;
}

int SubQuote::find(int detail, int tableType, int tableCode) const
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].detail == detail && lines[i].tableType == tableType && lines[i].tableCode == tableCode)
            return static_cast<int>(i);
    return -1;
}

} // namespace kv::quotes
