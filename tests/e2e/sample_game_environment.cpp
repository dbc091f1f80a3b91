#include "e2e/sample_game_environment.h"

#include <memory>

#include "device/backend.h"
#include "e2e/e2e_paths.h"
#include "e2e/game_session.h"

namespace brontal::e2e {

namespace {
std::unique_ptr<Backend> NullBackendFactory(void*, const D3DPRESENT_PARAMETERS&) {
    return std::make_unique<NullBackend>();
}
}  // namespace

bool SampleGameReady(std::string& error) { return StartSampleGame(NullBackendFactory, error); }

std::string StoredScript(const std::string& name) {
    std::string text;
    ReadText(SourceDir() + "/tests/e2e/scripts/" + name, text);
    return text;
}

}  // namespace brontal::e2e
