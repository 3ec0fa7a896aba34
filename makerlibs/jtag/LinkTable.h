#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

class TTcpLink;

// The open links, by handle. Handles are small nonzero numbers that keep counting up, so a
// stale handle of a closed link does not reach the next link opened.
class TLinkTable
{
public:
    // Open links at once; a caller that leaks handles runs out here, not out of sockets.
    static constexpr size_t MAX_LINKS = 64;
    static constexpr uint32_t MAX_HANDLE = 0xFFFF;

    // The process's one table.
    static TLinkTable& Instance();

    // Stores the link; returns its handle, 0 when the table is full (the link is dropped).
    uint32_t Add(std::shared_ptr<TTcpLink> link);
    // The link of a handle, or nullptr for an unknown one.
    std::shared_ptr<TTcpLink> Find(uint32_t handle) const;
    // Forgets the handle; returns its link (nullptr when unknown) so it closes outside the lock.
    std::shared_ptr<TTcpLink> Remove(uint32_t handle);

private:
    mutable std::mutex m_Mutex;
    std::map<uint32_t, std::shared_ptr<TTcpLink>> m_Links;
    uint32_t m_dwLastHandle = 0;
};
