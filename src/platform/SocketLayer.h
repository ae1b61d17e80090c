#pragma once

namespace vantorel {

// Starts the platform's socket library once per process; later calls do
// nothing. The HTTP client calls it when it is created, so that a missing
// library shows at once. On Windows it loads ws2_32.dll and starts Windows
// Sockets 2.2, failing with "Error on loading Winsock2 library (ws2_32.dll)"
// or "Winsock Initialization Error."; the socket calls of Socket.h start it
// themselves when nothing has. POSIX sockets need no start.
void startSocketLayer();

}  // namespace vantorel
