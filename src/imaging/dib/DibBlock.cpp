#include "imaging/dib/DibBlock.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace kv::imaging {
namespace {

// The header keeps the payload 16-byte aligned.
struct alignas(16) BlockHeader {
    std::size_t size;
    int locks;
    unsigned magic;
};

constexpr unsigned kMagic = 0x44494231u;

BlockHeader* header(DibHandle block)
{
    if (!block)
        return nullptr;
    auto* h = static_cast<BlockHeader*>(block);
    return h->magic == kMagic ? h : nullptr;
}

} // namespace

DibHandle dibAlloc(std::size_t size)
{
    void* memory = std::calloc(1, sizeof(BlockHeader) + size);
    if (!memory)
        return nullptr;
    auto* h = new (memory) BlockHeader{size, 0, kMagic};
    return h;
}

unsigned char* dibBytes(DibHandle block)
{
    BlockHeader* h = header(block);
    return h ? reinterpret_cast<unsigned char*>(h + 1) : nullptr;
}

unsigned char* dibLock(DibHandle block)
{
    BlockHeader* h = header(block);
    if (!h)
        return nullptr;
    ++h->locks;
    return reinterpret_cast<unsigned char*>(h + 1);
}

void dibUnlock(DibHandle block)
{
    if (BlockHeader* h = header(block); h && h->locks > 0)
        --h->locks;
}

int dibLockCount(DibHandle block)
{
    BlockHeader* h = header(block);
    return h ? h->locks : 0;
}

std::size_t dibSize(DibHandle block)
{
    BlockHeader* h = header(block);
    return h ? h->size : 0;
}

void dibFree(DibHandle block)
{
    BlockHeader* h = header(block);
    if (!h)
        return;
    h->locks = 0;
    h->magic = 0;
    std::free(h);
}

} // namespace kv::imaging
