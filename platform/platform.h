// Everything the uninstaller reaches outside its own memory.
#pragma once

#include <type_traits>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/process_launcher.h"
#include "platform/registry.h"
#include "platform/removal_lock.h"
#include "platform/run_notes.h"
#include "platform/shell_links.h"
#include "platform/speech_engine.h"
#include "platform/user_folders.h"

namespace tw {

struct Platform {
  Registry& registry;
  FileSystem& files;
  ProcessLauncher& processes;
  MessageBoxes& messages;
  ShellLinks& links;
  SpeechEngine& engine;
  const CodePage& codePage;
  UserFolders& user;
  RemovalLock& lock;
  RunNotes& notes;

  // The same services with one in place of its own: the one whose interface
  // service implements. A wrapper is put around a run as
  // platform.With(launcher).With(engine), whatever else the platform holds.
  template <typename Service>
  Platform With(Service& service) const {
    static_assert(std::is_base_of_v<Registry, Service> + std::is_base_of_v<FileSystem, Service> +
                          std::is_base_of_v<ProcessLauncher, Service> + std::is_base_of_v<MessageBoxes, Service> +
                          std::is_base_of_v<ShellLinks, Service> + std::is_base_of_v<SpeechEngine, Service> +
                          std::is_base_of_v<CodePage, Service> + std::is_base_of_v<UserFolders, Service> +
                          std::is_base_of_v<RemovalLock, Service> + std::is_base_of_v<RunNotes, Service> ==
                      1,
                  "a service stands in for exactly one of the platform's");
    return Platform{Pick(service, registry), Pick(service, files),    Pick(service, processes), Pick(service, messages),
                    Pick(service, links),    Pick(service, engine),   Pick(service, codePage),  Pick(service, user),
                    Pick(service, lock),     Pick(service, notes)};
  }

 private:
  template <typename Service, typename Member>
  static Member& Pick(Service& service, Member& own) {
    if constexpr (std::is_base_of_v<Member, Service>) {
      return service;
    } else {
      return own;
    }
  }
};

}  // namespace tw
