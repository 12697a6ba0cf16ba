// The check that an operation ended in an internal error: the code it raised and the one box it
// showed.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "message_box_answerer.h"
#include "raised_code.h"

// Runs `action`, expecting it to raise `raised` after exactly one box whose text holds
// "Error Code: `boxCode`" (a location and a code, such as "0014.80040009").
template <typename Action>
void ExpectInternalError(const std::string& boxCode, uint32_t raised, Action&& action) {
    MessageBoxAnswerer answerer;
    EXPECT_EQ(RaisedCode(std::forward<Action>(action)), raised) << "internal error " << boxCode;
    const std::vector<std::string> texts = answerer.Texts();
    ASSERT_EQ(texts.size(), 1u) << boxCode;
    EXPECT_NE(texts[0].find("Error Code: " + boxCode), std::string::npos) << texts[0];
}
