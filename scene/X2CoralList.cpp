#include "X2CoralList.h"

X2CoralList* TheCoralList = nullptr;

X2CoralList::X2CoralList() {
  Scan();
}
