// The owner window of boxes and prompts.
#include "sys/prompt_owner.h"

namespace {
void* ownerWindow = nullptr;
}

void RegisterPromptOwner(void* window) {
    if (window) ownerWindow = window;
}

void* PromptOwner() {
    return ownerWindow;
}
