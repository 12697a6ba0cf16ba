// The window that owns the launcher's boxes and the prompts its children raise (the progress
// dialog once it exists).
#pragma once

// Records `window` (an HWND on Windows); a null window leaves the one recorded before.
void RegisterPromptOwner(void* window);
// The window registered last; null before one is.
void* PromptOwner();
