#include "app/clock_status_json.h"

#include <nlohmann/json.hpp>

#include "core/iso_moment.h"

namespace chimewell {

std::string ClockStatusJson(const ClockStatus& status) {
  nlohmann::json next = nullptr;
  if (status.next_due) {
    next = {{"text", status.next_event}, {"at", FormatIsoMoment(*status.next_due)}};
  }
  const nlohmann::json doc = {{"next", next},
                              {"muted", status.muted},
                              {"paused", status.paused},
                              {"quiet", status.quiet},
                              {"busy", status.busy},
                              {"queued", status.queued},
                              {"problems", status.problems},
                              {"version", status.version}};
  // Texts from files could hold broken bytes: they are replaced, never thrown over.
  return doc.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace chimewell
