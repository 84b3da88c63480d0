#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Commits the memory of a large buffer about to be filled in one call, rather
// than taking one page fault per page as the rows arrive: reading 100,000
// deadlines fills about ten megabytes, and on a virtual machine a fault costs
// more than reading the row. Where the system cannot, the pages come as before.
void prefault(void *data, std::size_t bytes);

template<typename Value>
void prefault(std::vector<Value> &buffer)
{
    prefault(buffer.data(), buffer.capacity() * sizeof(Value));
}

// The same for the room of rows from first to first + count, as far as the
// buffer's capacity goes.
template<typename Value>
void prefault(std::vector<Value> &buffer, std::size_t first, std::size_t count)
{
    if (first < buffer.capacity())
        prefault(buffer.data() + first, std::min(count, buffer.capacity() - first) * sizeof(Value));
}

// assign(count, value), the memory committed first should the buffer grow.
template<typename Value>
void assignCommitted(std::vector<Value> &buffer, std::size_t count, const Value &value)
{
    if (buffer.capacity() < count) {
        std::vector<Value>().swap(buffer);
        buffer.reserve(count);
        prefault(buffer);
    }
    buffer.assign(count, value);
}
