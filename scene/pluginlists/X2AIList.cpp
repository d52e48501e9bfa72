#include "X2AIList.h"

X2AIList* TheFlockAIList = nullptr;

X2AIList::X2AIList() {
  Scan();
}
