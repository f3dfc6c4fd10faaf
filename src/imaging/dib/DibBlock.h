#pragma once

#include <cstddef>

namespace kv::imaging {

// A movable memory block as the imaging libraries hand pictures over: the
// library allocates a packed bitmap, the program frees it, so both sides use
// these functions (each links the same code over the same allocator). A block
// counts its locks; it is only freed once the count is back to 0.
using DibHandle = void*;

DibHandle dibAlloc(std::size_t size); // zero-filled; nullptr when out of memory
unsigned char* dibLock(DibHandle block); // nullptr for no block
void dibUnlock(DibHandle block);
int dibLockCount(DibHandle block);
std::size_t dibSize(DibHandle block); // 0 for no block
void dibFree(DibHandle block); // unlocks fully, then frees

// The address of the block's bytes without taking a lock.
unsigned char* dibBytes(DibHandle block);

// Owns one block for the length of a scope.
class DibHolder {
public:
    explicit DibHolder(DibHandle block = nullptr) : m_block(block) {}
    ~DibHolder() { dibFree(m_block); }
    DibHolder(const DibHolder&) = delete;
    DibHolder& operator=(const DibHolder&) = delete;
    DibHandle get() const { return m_block; }
    DibHandle release()
    {
        DibHandle b = m_block;
        m_block = nullptr;
        return b;
    }
    void reset(DibHandle block)
    {
        if (block != m_block)
            dibFree(m_block);
        m_block = block;
    }

private:
    DibHandle m_block;
};

} // namespace kv::imaging
