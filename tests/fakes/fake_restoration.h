// A restoration's whole world for the unit tests: a fake of every seam it
// looks down to, the history store and the context over them.
#pragma once

#include <string>

#include "fakes/fake_code_page.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_prompt.h"
#include "fakes/fake_service_manager.h"
#include "fakes/fake_system_paths.h"
#include "history/history_store.h"
#include "operations/restoration.h"

namespace quorvel::testing {

struct FakeRestoration {
    FakeRestoration(const std::string& snapshot_folder, const std::string& history_file)
        : context{scm, registry, code_page, paths, prompt, files, snapshot_folder, history_file} {}

    FakeServiceManager scm;
    FakeServiceRegistry registry;
    FakeCodePage code_page;
    FakeSystemPaths paths;
    FakeFileSystem files;
    FakePrompt prompt;
    HistoryStore history;
    RestorationContext context;
};

}  // namespace quorvel::testing
