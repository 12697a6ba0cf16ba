// Filling the _PRODUCT_NAME_-style placeholders of message texts.
#include "sys/next_token.h"
#include "text/messages.h"

void SubstitutePlaceholders(const std::vector<std::string>& placeholders, std::string& text) {
    if (placeholders.empty()) return;
    std::string work = text;
    for (const std::string& entry : placeholders) {
        std::string rest = entry;
        std::string name;
        if (!NextToken(rest, name, ",", true) || name.empty()) continue;
        const std::size_t comma = entry.find(',');
        const std::string value =
            comma == std::string::npos ? std::string() : entry.substr(comma + 1);
        // One left-to-right pass: a value holding its own name must not be replaced again.
        std::size_t at = 0;
        while ((at = work.find(name, at)) != std::string::npos) {
            work.replace(at, name.size(), value);
            at += value.size();
        }
    }
    text = work;
}
