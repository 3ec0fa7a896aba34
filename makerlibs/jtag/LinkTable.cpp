#include "makerlibs/jtag/LinkTable.h"

#include "makerlibs/jtag/TcpLink.h"

TLinkTable& TLinkTable::Instance()
{
    static TLinkTable table;
    return table;
}

uint32_t TLinkTable::Add(std::shared_ptr<TTcpLink> link)
{
    std::lock_guard<std::mutex> guard(m_Mutex);
    if (link == nullptr || m_Links.size() >= MAX_LINKS)
        return 0;
    uint32_t handle = m_dwLastHandle;
    do
        handle = handle >= MAX_HANDLE ? 1 : handle + 1;
    while (m_Links.count(handle) != 0);
    m_dwLastHandle = handle;
    m_Links.emplace(handle, std::move(link));
    return handle;
}

std::shared_ptr<TTcpLink> TLinkTable::Find(uint32_t handle) const
{
    std::lock_guard<std::mutex> guard(m_Mutex);
    const auto it = m_Links.find(handle);
    return it == m_Links.end() ? nullptr : it->second;
}

std::shared_ptr<TTcpLink> TLinkTable::Remove(uint32_t handle)
{
    std::lock_guard<std::mutex> guard(m_Mutex);
    const auto it = m_Links.find(handle);
    if (it == m_Links.end())
        return nullptr;
    std::shared_ptr<TTcpLink> link = std::move(it->second);
    m_Links.erase(it);
    return link;
}
