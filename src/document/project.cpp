#include "document/project.h"

#include "io/zeroed_pages.h"

#include <cstring>
#include <type_traits>

namespace morvane {

static_assert(std::is_standard_layout_v<TEditorProject>);
static_assert(std::is_trivially_destructible_v<TEditorProject>);

void TEditorProject::Clear() {
    ZeroBytes(this, sizeof(*this));
    CurrentRoom = 1;
}

void TEditorProject::ReplaceWith(const TEditorProject& other) {
    if (&other != this) {
        std::memcpy(static_cast<void*>(this), &other, sizeof(*this));
    }
}

} // namespace morvane
