#include "X2StructureList.h"

X2StructureList* TheStructureList = nullptr;

X2StructureList::X2StructureList() {
  Scan();
}
