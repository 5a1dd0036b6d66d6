// Form resources: constructing a form reads the resource named by its class,
// binds its fields and events, and runs OnCreate afterwards.
#include "stream_fixture.h"

using namespace sttest;

namespace {

class TStAboutForm : public TForm {
  VCL_CLASS(TStAboutForm, TForm)
  explicit TStAboutForm(TComponent* owner) : TForm(owner) {}
  void FormCreate(TObject*) { PanelAtCreate = Panel; }
  TStPanel* Panel = nullptr;
  TStPanel* PanelAtCreate = nullptr;
};

// A descendant with no resource of its own reads its ancestor's.
class TStAboutChild : public TStAboutForm {
  VCL_CLASS(TStAboutChild, TStAboutForm)
  using TStAboutForm::TStAboutForm;
};

class TStNoResource : public TForm {
  VCL_CLASS(TStNoResource, TForm)
  using TForm::TForm;
};

}  // namespace

const TClassInfo& TStAboutForm::StaticClass() {
  using T = TStAboutForm;
  static const TClassInfo info = TClassBuilder<T>("TStAboutForm")
                                     .Method("FormCreate", &T::FormCreate)
                                     .Field("Panel", &T::Panel);
  return info;
}
const TClassInfo& TStAboutChild::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStAboutChild>("TStAboutChild");
  return info;
}
const TClassInfo& TStNoResource::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStNoResource>("TStNoResource");
  return info;
}

namespace {

HMODULE FormModule() {
  static const std::string form = TextToBinary(
      "object StAbout: TStAboutForm\n"
      "  Caption = 'About'\n"
      "  OnCreate = FormCreate\n"
      "  object Panel: TStPanel\n"
      "    Width = 50\n"
      "  end\n"
      "end\n");
  static const os::ResourceEntry entries[] = {
      {10, nullptr, 0, "TSTABOUTFORM", reinterpret_cast<const unsigned char*>(form.data()),
       static_cast<DWORD>(form.size())}};
  static const HMODULE module = [] {
    HMODULE m = os::RegisterModule("stream_resource_test", entries, 1);
    RegisterFormResourceModule(m);
    return m;
  }();
  return module;
}

}  // namespace

TEST(FormResources, ConstructingAFormReadsItsResourceThenRunsOnCreate) {
  RegisterStreamClasses();
  FormModule();
  auto* about = CreateForm<TStAboutForm>(nullptr);
  EXPECT_EQ(about->Name(), "StAbout");
  EXPECT_EQ(about->Caption(), "About");
  ASSERT_NE(about->Panel, nullptr);
  EXPECT_EQ(about->Panel->Width(), 50);
  EXPECT_EQ(about->Panel->Parent(), about);
  EXPECT_EQ(about->PanelAtCreate, about->Panel);  // OnCreate came after the read
  EXPECT_FALSE(about->ComponentState().Contains(csLoading));
  delete about;

  auto* child = CreateForm<TStAboutChild>(nullptr);
  EXPECT_NE(child->Panel, nullptr);
  delete child;
}

TEST(FormResources, AFormWithoutAResourceIsRefused) {
  FormModule();
  try {
    delete CreateForm<TStNoResource>(nullptr);
    FAIL() << "no error";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource TSTNORESOURCE not found");
  }
  // A plain TForm has nothing to read.
  delete CreateForm<TForm>(nullptr);
}
