#include "../SocketLayer.h"

namespace vantorel {

void startSocketLayer() {}

}  // namespace vantorel
