#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace vboardtest
{

// A file of its own in the temporary folder, so tests running side by side never share
// one; removed again when it goes out of scope.
class TTempFile
{
public:
    explicit TTempFile(const std::vector<uint8_t>& bytes)
    {
        char path[] = "/tmp/hx9-vboard-test-XXXXXX";
        const int fd = ::mkstemp(path);
        m_Path = path;
        if (fd >= 0)
        {
            size_t done = 0;
            while (done < bytes.size())
            {
                const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
                if (n <= 0)
                    break;
                done += static_cast<size_t>(n);
            }
            ::close(fd);
        }
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    ~TTempFile() { std::remove(m_Path.c_str()); }

    const std::string& Path() const { return m_Path; }

private:
    std::string m_Path;
};

} // namespace vboardtest
