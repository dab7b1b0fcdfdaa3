// What an import or export ended with: nothing to say on success, else the
// message box to show (error icon).
#pragma once

#include <string>

struct TransferResult {
    std::u16string message;  // empty: the transfer completed
    std::u16string title = u"Kestro";

    bool Done() const { return message.empty(); }
    static TransferResult Failed(std::u16string text, std::u16string caption = u"Kestro") {
        return {std::move(text), std::move(caption)};
    }
};
