#include "X5LoadedModel.h"

#include "X5MeshContainer.h"

X5LoadedModel::X5LoadedModel() : root(new X5Frame) {}
