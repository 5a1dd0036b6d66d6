// Class information of the form-file test classes.
#include "stream_fixture.h"

using namespace sttest;

const TClassInfo& TStAll::StaticClass() {
  using T = TStAll;
  static const TClassInfo info =
      TClassBuilder<T>("TStAll")
          .Creatable()
          .Prop("Count", &T::Count, &T::SetCount)
          .Prop("Small", &T::Small, &T::SetSmall, Default{0})
          .Prop("Percent", &T::Percent, &T::SetPercent, TypeIs{PercentType()}, Default{0})
          .Prop("Shade", &T::Shade, &T::SetShade, Default{clBlack})
          .Prop("Flag", &T::Flag, &T::SetFlag, Default{false})
          .Prop("Kind", &T::Kind, &T::SetKind, Default{skFirst})
          .Prop("Kinds", &T::Kinds, &T::SetKinds)
          .Prop("Caption", &T::Caption, &T::SetCaption)
          .Prop("ShortName", &T::ShortName, &T::SetShortName, TypeIs{ShortNameType()})
          .Prop("Letter", &T::Letter, &T::SetLetter, Default{'a'})
          .Prop("Ratio", &T::Ratio, &T::SetRatio)
          .Prop("Font", &T::Font, &T::SetFont, StoredBy{&T::IsFontStored})
          .Prop("Lines", &T::Lines, &T::SetLines)
          .Prop("Buddy", &T::Buddy, &T::SetBuddy)
          .Prop("OnPing", &T::GetOnPing, &T::SetOnPing)
          .ReadOnlyProp("Fixed", &T::Fixed);
  return info;
}

const TClassInfo& TStPanel::StaticClass() {
  using T = TStPanel;
  static const TClassInfo info = TClassBuilder<T>("TStPanel")
                                     .Creatable()
                                     .Prop("Align", &T::Align, &T::SetAlign, Default{alNone})
                                     .Prop("Visible", &T::Visible, &T::SetVisible, Default{true})
                                     .Prop("TabOrder", &T::TabOrder, &T::SetTabOrder,
                                           TypeIs{TabOrderTypeInfo()}, Default{-1})
                                     .Prop("Probe", &T::Probe, &T::SetProbe, Default{0});
  return info;
}

const TClassInfo& TStForm::StaticClass() {
  using T = TStForm;
  static const TClassInfo info = TClassBuilder<T>("TStForm")
                                     .Creatable()
                                     .Method("Ping", &T::Ping)
                                     .Field("First", &T::First)
                                     .Field("Panel", &T::Panel);
  return info;
}
