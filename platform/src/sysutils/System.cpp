#include "vcl/System.h"

#include "vcl/TypInfo.h"

TObject::~TObject() = default;

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TObject", nullptr);
  return info;
}

const std::string& TObject::ClassName() const { return ClassType()->ClassName; }

bool TObject::InheritsFrom(TClass cls) const { return ClassType()->InheritsFrom(cls); }

void TObject::Free() {
  BeforeDestruction();
  delete this;
}
