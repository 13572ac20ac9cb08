// The behaviour object that the views forward their events to. The views exist before the
// MessageForm does (its creation needs them), so they reach it through this link, which the
// entry point fills in; until then events are dropped.
#pragma once

namespace setup {
class MessageForm;
}

namespace setup::win32 {

struct FormLink {
  MessageForm* form = nullptr;
};

}  // namespace setup::win32
