#pragma once

namespace vantorel {

// Makes standard output and standard error carry bytes exactly as written.
// Windows translates line feeds in its default text mode, which would
// corrupt a PDF written to standard output; POSIX streams are bytes already.
void useBinaryStandardStreams();

}  // namespace vantorel
