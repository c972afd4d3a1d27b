// Finds e-mail addresses in a paragraph, with the names written before them
// ("张三 <zhangsan@abc.com>", "John Smith (john@x.org)") and the direction a
// label gives them (发件人 from, 收件人 to, 抄送 cc).
#pragma once

#include <string>
#include <vector>

struct _email {
    std::string username;    // before the "@"
    std::string domainname;  // after the "@"
    std::string cnName;      // Chinese name just before the address (UTF-8)
    std::string enName;      // Latin name just before the address
    std::string direction;   // "from", "to", "cc" or ""
    size_t offset = 0;       // byte offset of the address (after &lt; and &gt; are read)
};

// Every address in a UTF-8 text, in order; "&lt;" and "&gt;" count as "<" and ">".
std::vector<_email> FindEmails(const std::string& sText);
