// The journal's library reads its files through shared mappings: a file cut
// short under it (by hand, or by a file system's error) turns a read of the
// pages it lost into SIGBUS, which would end the program. While a LostPages
// lives on a thread, such a fault there puts a page of zeros where the lost
// one was and is noted, and the program goes on; the caller then treats the
// journal as unreadable. A SIGBUS anywhere else ends the program as before.
#pragma once

namespace kestal {

class LostPages {
public:
    LostPages();
    ~LostPages();
    LostPages(const LostPages&) = delete;
    LostPages& operator=(const LostPages&) = delete;

    // Whether a page was lost on this thread since this began.
    bool any() const;
};

}  // namespace kestal
