// The HTTP client with its fields open to a test: what a test sets up (a time-out, a proxy, a
// handed-over connection) and what it checks afterwards (state, result, the parsed URL).
#pragma once
#include "net/zbhttp.h"

class ZBHTTPUnderTest : public ZBHTTP {
  public:
    using ZBHTTP::BytesPerSecond;
    using ZBHTTP::DoneEvent;
    using ZBHTTP::HeaderLength;
    using ZBHTTP::Host;
    using ZBHTTP::LastResult;
    using ZBHTTP::LocalFile;
    using ZBHTTP::NeedsRequest;
    using ZBHTTP::Path;
    using ZBHTTP::Port;
    using ZBHTTP::Proxy;
    using ZBHTTP::Secure;
    using ZBHTTP::SecureConnection;
    using ZBHTTP::Socket;
    using ZBHTTP::SocketOpen;
    using ZBHTTP::State;
    using ZBHTTP::TimeoutSeconds;
    using ZBHTTP::Url;
    using ZBHTTP::UseProxy;
};
