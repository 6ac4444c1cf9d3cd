#include "shell/StartUp.h"

#include <cstring>
#include <optional>
#include <utility>

#include "services/ApplicationTitle.h"
#include "services/Picture.h"
#include "services/ProgramVersion.h"
#include "services/platform/Files.h"
#include "services/platform/Modules.h"

namespace sonvarro {
namespace {

constexpr const char* kReinstall = " Please reinstall this program.";

std::string NotFound(const std::string& library) { return "'" + library + "' is not found." + kReinstall; }

template <size_t N>
void CopyText(char (&field)[N], const std::string& text) {
  const size_t length = text.size() < N ? text.size() : N - 1;
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

// The splash at twice the pixels of picture, when Res.dll holds one that
// decodes to that size.
std::optional<Picture> SharpSplash(platform::HMODULE res, const Picture& picture) {
  platform::ResourceData stream;
  if (!platform::FindResourceA(res, kSharpSplashResourceName, kSplashResourceType, stream)) return std::nullopt;
  try {
    Picture sharp = DecodeJpeg(stream.data, stream.size);
    if (sharp.width != picture.width * 2 || sharp.height != picture.height * 2) return std::nullopt;
    return sharp;
  } catch (const JpegError&) {
    return std::nullopt;
  }
}

}  // namespace

platform::MessageAnswer ShowAppMessage(platform::IDesktop& desktop, const std::string& text, int kind) {
  static constexpr platform::MessageButtons kButtons[] = {platform::MessageButtons::Ok, platform::MessageButtons::YesNo,
                                                          platform::MessageButtons::YesNoCancel};
  if (kind < 1 || kind > 3) return platform::MessageAnswer::None;
  return desktop.ShowMessage(kApplicationTitle, text, platform::MessageIcon::Information, kButtons[kind - 1]);
}

StartUp::StartUp(StartUpParts parts) : parts_(std::move(parts)) { softInfo_.RecordSize = sizeof softInfo_; }

void StartUp::RequestTermination() {
  terminationRequested_ = true;
  parts_.terminate();
}

bool StartUp::FailStart(const std::string& message) {
  ShowAppMessage(parts_.desktop, message, 1);
  RequestTermination();
  return false;
}

bool StartUp::ShowSplash() {
  const std::string resPath = parts_.appFolder + kResLibrary;
  platform::Module res(resPath);
  if (!res) {
    if (!platform::IsRegularFile(resPath)) return FailStart(NotFound(kResLibrary));
    return FailStart("'" + std::string(kResLibrary) + "' cannot be loaded (" + res.Failure().Message() + ")." +
                     kReinstall);
  }
  platform::ResourceData stream;
  if (!platform::FindResourceA(res.Handle(), kSplashResourceName, kSplashResourceType, stream)) {
    return FailStart("'" + std::string(kResLibrary) + "' holds no splash picture (resource '" + kSplashResourceName +
                     "' of type '" + kSplashResourceType + "')." + kReinstall);
  }
  Picture picture;
  try {
    picture = DecodeJpeg(stream.data, stream.size);
  } catch (const JpegError& error) {
    return FailStart("The splash picture in '" + std::string(kResLibrary) + "' is not a valid JPEG picture (" +
                     error.what() + ")." + kReinstall);
  }

  std::unique_ptr<ISplashWindow> window = parts_.newSplashWindow();
  window->SetPicture(picture.width, picture.height, picture.rgb.data());
  if (const std::optional<Picture> sharp = SharpSplash(res.Handle(), picture)) {
    window->SetSharpPicture(sharp->width, sharp->height, sharp->rgb.data());
  }
  TFrmFlashForm splash(*window, parts_.scheduler, [this] { InitApplication(); });
  splash.ShowModal();
  if (!splash.RoutineFailed()) return true;
  RequestTermination();
  return false;
}

void StartUp::InitApplication() {
  // The controller and the service objects are made by the composition root
  // before any window exists; what start-up adds is below.
  CheckCompanionLibraries();
  parts_.desktop.ProcessPendingEvents();
  LoadProductInfo();
  CopyText(softInfo_.AppFolder, parts_.appFolder);
  parts_.setCaption(Caption());
}

bool StartUp::CheckCompanionLibraries() {
  bool allThere = true;
  for (const char* library : {kFormLibrary, kLibLibrary, kResLibrary}) {
    if (platform::IsRegularFile(parts_.appFolder + library)) continue;
    allThere = false;
    ShowAppMessage(parts_.desktop, NotFound(library), 1);
    RequestTermination();
  }
  return allThere;
}

void StartUp::LoadProductInfo() {
  platform::Module res(parts_.appFolder + kResLibrary);
  const auto read = [&res](unsigned id, char* field) {
    platform::LoadStringA(res.Handle(), id, field, SONVARRO_PRODUCT_TEXT_BYTES);
  };
  read(0, softInfo_.AboutText0);
  read(1, softInfo_.Title);
  read(2, softInfo_.AboutText2);
  char dropped[SONVARRO_PRODUCT_TEXT_BYTES];
  read(3, dropped);
  CopyText(softInfo_.Version, GetVersionText(parts_.exePath));
  read(4, softInfo_.HomePage);
  read(5, softInfo_.EMail);
  read(7, softInfo_.AboutText7);
}

std::string StartUp::Caption() const { return std::string(softInfo_.Title) + " " + softInfo_.Version; }

}  // namespace sonvarro
