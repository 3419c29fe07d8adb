#include "history/history_state.h"

namespace lvn {

HistoryState ProcessHistory;

}  // namespace lvn
