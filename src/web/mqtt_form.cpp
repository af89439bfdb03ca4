#include "web/mqtt_form.h"

#include "app/application.h"
#include "core/html_escape.h"
#include "core/text_encoding.h"
#include "web/api_texts.h"
#include "web/text_util.h"

namespace chimewell {
namespace {

constexpr size_t kMaxFieldChars = 256;

std::string Field(const RequestContext& ctx, std::string_view name) {
  const std::string value(TrimBlanksAndControls(ctx.Param(name)));
  return std::string(Utf8Prefix(ToValidUtf8(value), kMaxFieldChars));
}

}  // namespace

bool HandleMqttForm(RequestContext& ctx) {
  if (!ctx.Has("MQTTSET")) return false;
  ctx.extras.Add("$!OPENLINKFORM!$", " style=\"display:block\"");
  ctx.error_heading = ProblemHeading::kNotSaved;
  if (!ctx.request.LocalPeer) {
    ctx.error_text = api_texts::kMqttOnlyHere;
    return true;
  }
  MqttSettings mqtt = ctx.app.Mqtt();
  // The box, when ticked, comes before its hidden "0".
  mqtt.Enabled = ctx.Param("MQTTENABLED") == "1";
  mqtt.Broker = Field(ctx, "MQTTBROKER");
  mqtt.User = Field(ctx, "MQTTUSER");
  mqtt.Name = Field(ctx, "MQTTNAME");
  if (ctx.Has("MQTTPASSCLEAR")) {
    mqtt.Password.clear();
  } else if (const std::string password = ctx.Param("MQTTPASSWORD"); !password.empty()) {
    mqtt.Password = std::string(Utf8Prefix(ToValidUtf8(password), kMaxFieldChars));
  }
  if (mqtt.Enabled && mqtt.Broker.empty()) {
    ctx.error_text = api_texts::kMqttNoBroker;
  } else if (!mqtt.Broker.empty() && !ParseBrokerAddress(mqtt.Broker)) {
    ctx.error_text = api_texts::kMqttBadBroker;
  } else if (!IsGoodClockName(mqtt.Name)) {
    ctx.error_text = api_texts::kMqttBadName;
  }
  if (!ctx.error_text.empty()) return true;
  ctx.app.ApplyMqttSettings(mqtt);
  ctx.AddNotice(api_texts::kMqttSaved);
  return true;
}

void AppendMqttValues(ReplacementList& list, const MqttSettings& mqtt) {
  list.Add("$!MQTTENABLED!$", mqtt.Enabled ? "checked" : "");
  list.Add("$!MQTTBROKER!$", HtmlEscape(mqtt.Broker));
  list.Add("$!MQTTUSER!$", HtmlEscape(mqtt.User));
  list.Add("$!MQTTPASSWORD!$",
           mqtt.Password.empty() ? api_texts::kMqttPasswordNotSet : api_texts::kMqttPasswordSet);
  list.Add("$!MQTTNAME!$", HtmlEscape(mqtt.Name));
}

}  // namespace chimewell
