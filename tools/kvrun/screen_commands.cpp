#include "screen_commands.h"

#include <cstdio>

#include "script.h"
#include "ziVivire.h"

namespace kvrun {

namespace {

os::MouseButton ParseButton(const std::vector<std::string>& args) {
  if (args.empty() || SameText(args[0], "left")) return os::MouseButton::Left;
  if (SameText(args[0], "right")) return os::MouseButton::Right;
  if (SameText(args[0], "middle")) return os::MouseButton::Middle;
  throw BadLine{"expected left, right or middle, got " + Quoted(args[0])};
}

TControl* RequireControl(Host& host, const std::string& name) {
  auto* c = dynamic_cast<TControl*>(host.Require(name));
  if (!c) throw BadLine{Quoted(name) + " is not a control"};
  return c;
}

// screen W H: the screen's size, before the first form.
void RunScreen(Host&, const CommandLine& line) {
  const int32_t w = ParseInt(line.Args[0]);
  const int32_t h = ParseInt(line.Args[1]);
  if (w <= 0 || h <= 0) throw BadLine{"the screen needs a positive width and height"};
  if (!os::SetScreenSize(w, h)) throw BadLine{"screen must come before the first form"};
}

// move X Y (screen) or move NAME X Y (NAME's client coordinates).
void RunMove(Host& host, const CommandLine& line) {
  if (line.Args.size() == 2) {
    os::MouseMove(TPoint{ParseInt(line.Args[0]), ParseInt(line.Args[1])});
    return;
  }
  TControl* c = RequireControl(host, line.Args[0]);
  os::MouseMove(c->ClientToScreen(TPoint{ParseInt(line.Args[1]), ParseInt(line.Args[2])}));
}

void RunDown(Host&, const CommandLine& line) { os::MouseDown(ParseButton(line.Args)); }
void RunUp(Host&, const CommandLine& line) { os::MouseUp(ParseButton(line.Args)); }

// click NAME X Y: the left button pressed and released at NAME's client point.
void RunClick(Host& host, const CommandLine& line) {
  TControl* c = RequireControl(host, line.Args[0]);
  TPoint p = c->ClientToScreen(TPoint{ParseInt(line.Args[1]), ParseInt(line.Args[2])});
  os::MouseMove(p);
  os::MouseDown(os::MouseButton::Left);
  os::MouseUp(os::MouseButton::Left);
}

// drag X1 Y1 X2 Y2 [STEPS]: press left at the first point, STEPS moves
// spread evenly to the second, release there.
void RunDrag(Host&, const CommandLine& line) {
  const int64_t x1 = ParseInt(line.Args[0]), y1 = ParseInt(line.Args[1]);
  const int64_t x2 = ParseInt(line.Args[2]), y2 = ParseInt(line.Args[3]);
  const int32_t steps = line.Args.size() > 4 ? ParseInt(line.Args[4]) : 4;
  if (steps < 1) throw BadLine{"a drag needs at least one step"};
  os::MouseMove(TPoint{static_cast<int32_t>(x1), static_cast<int32_t>(y1)});
  os::MouseDown(os::MouseButton::Left);
  for (int32_t i = 1; i <= steps; ++i)
    os::MouseMove(TPoint{static_cast<int32_t>(x1 + (x2 - x1) * i / steps),
                         static_cast<int32_t>(y1 + (y2 - y1) * i / steps)});
  os::MouseUp(os::MouseButton::Left);
}

// scroll NAME horz|vert POS: the control gets WM_HSCROLL or WM_VSCROLL with
// SB_THUMBPOSITION at POS.
void RunScroll(Host& host, const CommandLine& line) {
  auto* c = dynamic_cast<TWinControl*>(host.Require(line.Args[0]));
  if (!c) throw BadLine{Quoted(line.Args[0]) + " is not a windowed control"};
  UINT msg;
  if (SameText(line.Args[1], "horz"))
    msg = WM_HSCROLL;
  else if (SameText(line.Args[1], "vert"))
    msg = WM_VSCROLL;
  else
    throw BadLine{"expected horz or vert, got " + Quoted(line.Args[1])};
  const int32_t pos = ParseInt(line.Args[2]);
  if (pos < -32768 || pos > 32767) throw BadLine{"a scroll position has 16 bits"};
  SendMessage(c->Handle(), msg, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos)), 0);
}

// The name of the cursor shown now.
std::string CursorName(HCURSOR shown) {
  if (!shown) return "none";
  if (shown == SplitCursorHandle) return "SplitCursor";
  for (int i = 0; i >= -20; --i) {
    if (Screen->Cursors(i) != shown) continue;
    std::string ident;
    if (CursorToIdent(i, ident)) return ident;
  }
  return "unknown";
}

void RunCursor(Host& host, const CommandLine&) {
  host.Out() << "cursor = " << CursorName(GetCursor()) << '\n';
}

void RunPixel(Host& host, const CommandLine& line) {
  const int32_t x = ParseInt(line.Args[0]);
  const int32_t y = ParseInt(line.Args[1]);
  const COLORREF c = os::ScreenPixel(x, y);
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  host.Out() << "pixel " << x << ' ' << y << " = " << text << '\n';
}

void RunPng(Host&, const CommandLine& line) {
  if (!os::SaveScreenPng(line.Args[0])) throw BadLine{"cannot write " + Quoted(line.Args[0])};
}

// load FILE: a form file, text or binary, read as a shown form.
void RunLoad(Host& host, const CommandLine& line) {
  TComponent* root = ReadFormFile(line.Args[0], nullptr);  // read errors are the system's
  auto* form = dynamic_cast<TForm*>(root);
  if (!form) {
    root->Free();
    throw BadLine{Quoted(line.Args[0]) + " does not hold a form"};
  }
  // Every name of the run stays unique, so that a name reaches one component.
  auto taken = [&host](const TComponent* c) { return !c->Name().empty() && host.Find(c->Name()); };
  std::string clash = taken(form) ? form->Name() : "";
  for (int i = 0; clash.empty() && i < form->ComponentCount(); ++i)
    if (taken(form->Components(i))) clash = form->Components(i)->Name();
  if (!clash.empty()) {
    form->Free();
    throw BadLine{"name " + Quoted(clash) + " is already in use"};
  }
  host.AddForm(form);
  host.WatchEvents(form);
  for (int i = 0; i < form->ComponentCount(); ++i) host.WatchEvents(form->Components(i));
  form->Show();
}

// save NAME FILE [text|binary]: writes the form or component NAME.
void RunSave(Host& host, const CommandLine& line) {
  TComponent* c = host.Require(line.Args[0]);
  TStreamOriginalFormat format = sofText;
  if (line.Args.size() == 3) {
    if (SameText(line.Args[2], "binary"))
      format = sofBinary;
    else if (!SameText(line.Args[2], "text"))
      throw BadLine{"expected text or binary, got " + Quoted(line.Args[2])};
  }
  WriteFormFile(line.Args[1], c, format);
}

}  // namespace

const std::map<std::string, Command>& ScreenCommands() {
  static const std::map<std::string, Command> commands = {
      {"screen", {"screen W H", {2}, false, false, RunScreen}},
      {"move", {"move X Y | move NAME X Y", {2, 3}, false, false, RunMove}},
      {"down", {"down [left|right|middle]", {0, 1}, false, false, RunDown}},
      {"up", {"up [left|right|middle]", {0, 1}, false, false, RunUp}},
      {"click", {"click NAME X Y", {3}, false, false, RunClick}},
      {"drag", {"drag X1 Y1 X2 Y2 [STEPS]", {4, 5}, false, false, RunDrag}},
      {"scroll", {"scroll NAME horz|vert POS", {3}, false, false, RunScroll}},
      {"cursor", {"cursor", {0}, false, false, RunCursor}},
      {"pixel", {"pixel X Y", {2}, false, false, RunPixel}},
      {"png", {"png FILE", {1}, false, false, RunPng}},
      {"load", {"load FILE", {1}, false, false, RunLoad}},
      {"save", {"save NAME FILE [text|binary]", {2, 3}, false, false, RunSave}},
  };
  return commands;
}

}  // namespace kvrun
