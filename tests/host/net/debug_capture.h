// Turns DebugMgr on for one test and collects what the download layers write.
#pragma once
#include "debug/debug_mgr.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

class DebugCapture {
  public:
    explicit DebugCapture(int32_t level = 100) {
        path_ = "/tmp/net-debug-" + std::to_string(getpid()) + "-" + std::to_string(counter_++) +
                ".txt";
        std::remove(path_.c_str());
        DebugMgr::DebugLevel = level;
        DebugMgr::DebugOutputFileName = path_;
    }
    ~DebugCapture() {
        DebugMgr::CloseOutputFile();
        DebugMgr::DebugLevel = 0;
        DebugMgr::DebugOutputFileName.clear();
        std::remove(path_.c_str());
    }
    std::string Text() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    bool Contains(const std::string& piece) const {
        return Text().find(piece) != std::string::npos;
    }

  private:
    std::string path_;
    static inline int counter_ = 0;
};
