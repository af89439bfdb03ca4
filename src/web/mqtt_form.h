#pragma once
// The page's [MQTT] form: on or off, the broker, the user and password it asks for, and this
// clock's name on the bus.
#include "core/mqtt_settings.h"
#include "web/request_context.h"

namespace chimewell {

// MQTTSET; only from this machine's page, as the broker's password is sent in it. A password
// field left empty keeps the stored one; MQTTPASSCLEAR removes it.
bool HandleMqttForm(RequestContext& ctx);

// $!MQTTENABLED!$, $!MQTTBROKER!$, $!MQTTUSER!$, $!MQTTPASSWORD!$ (whether one is set) and
// $!MQTTNAME!$.
void AppendMqttValues(ReplacementList& list, const MqttSettings& mqtt);

}  // namespace chimewell
