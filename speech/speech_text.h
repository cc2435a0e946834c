// Which word the read-aloud buttons hand to the speech server.
#pragma once

#include <string>
#include <string_view>

namespace kirvale::speech {

// The head-word label's caption reads "◇" followed by the head word (or by
// the typed word when nothing was found). Returns the word to speak: the
// caption trimmed, less a leading "◇", trimmed again. A blank caption, or
// one that holds only the "◇", gives the empty text, which is never spoken.
std::string WordToSpeak(std::string_view headWordLabel);

}  // namespace kirvale::speech
