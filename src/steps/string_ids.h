// String resources the steps load from the launcher's own module (the resource script holds them).
#pragma once

#define IDS_CD_PROMPT_MUTEX 1
