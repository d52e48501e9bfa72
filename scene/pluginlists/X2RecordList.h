#pragma once
// A plug-in list of one record type. The type decides the folder, the export
// and the record kind; a concrete list adds its file pattern and, where its
// use needs other checks, its own CheckRecord.
#include "X2PluginList.h"

template <class Record>
struct X2RecordTraits;

template <>
struct X2RecordTraits<X2FishData> {
  static const char* SubFolder() { return "\\model\\"; }
  static const char* ExportName() { return X2_FISH_EXPORT_NAME; }
  static constexpr int kKind = X2_KIND_FISH;
};

template <>
struct X2RecordTraits<X2AIData> {
  static const char* SubFolder() { return "\\ai\\"; }
  static const char* ExportName() { return X2_AI_EXPORT_NAME; }
  static constexpr int kKind = X2_KIND_AI;
};

template <class Record>
class X2RecordList : public X2PluginList {
 public:
  const char* SubFolder() const override { return X2RecordTraits<Record>::SubFolder(); }
  const char* ExportName() const override { return X2RecordTraits<Record>::ExportName(); }
  int Kind() const override { return X2RecordTraits<Record>::kKind; }

  // The header is the first member of every record type.
  const Record* Get(int index) const { return reinterpret_cast<const Record*>(Header(index)); }
  const Record* GetData(const char* key) const {
    return reinterpret_cast<const Record*>(GetHeader(key));
  }
};
