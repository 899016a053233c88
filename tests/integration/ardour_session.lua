-- KORVEX52 in a real DAW session: Ardour's headless session tool with the
-- audio engine's dummy backend, which plays a sine wave into the inputs.
--   ardour7-lua ardour_session.lua SESSION-DIR
-- Prints what it did; any failed check ends the script with an error.
local dir = assert(arg[1], "usage: ardour_session.lua SESSION-DIR")

local function check(ok, what)
  if not ok then error("FAIL: " .. what, 2) end
end

-- The ten parameters, their names and defaults as the plug-in publishes them.
local expected = {
  {"RT60 Time", 0.0}, {"Damping", 0.0}, {"Mix", 0.5}, {"Pre Delay", 0.0}, {"Width", 0.5},
  {"Out Trim", 0.5}, {"In Trim", 0.5}, {"Wet Only", 0.0}, {"Mute", 0.0}, {"Effect", 1.0},
}

local backend = AudioEngine:set_backend("None (Dummy)", "", "")
check(backend, "no dummy audio backend")
backend:set_device_name("Sine Wave")
AudioEngine:set_sample_rate(48000)
AudioEngine:set_buffer_size(256)
check(AudioEngine:start(false) == 0, "the audio engine did not start")
local session = create_session(dir, "korvex52", 48000)
check(session, "no session")

local track = session:new_audio_track(2, 2, nil, 1, "Plate", ARDOUR.PresentationInfo.max_order,
                                      ARDOUR.TrackMode.Normal, true):front()
local proc = ARDOUR.LuaAPI.new_plugin(session, "KORVEX52", ARDOUR.PluginType.LXVST, "")
check(not proc:isnil(), "Ardour did not find KORVEX52 on its Linux VST path")
check(track:add_processor_by_index(proc, 0, nil, true) == 0, "the plug-in did not go onto the track")
local plugin = proc:to_insert():plugin(0)
check(plugin:get_info().n_inputs:n_audio() == 2 and plugin:get_info().n_outputs:n_audio() == 2,
      "the plug-in is not stereo in and out")

check(plugin:parameter_count() == #expected, "parameter count " .. plugin:parameter_count())
for i, e in ipairs(expected) do
  local _, t = plugin:get_parameter_descriptor(i - 1, ARDOUR.ParameterDescriptor())
  local desc = t[2]
  local value = ARDOUR.LuaAPI.get_processor_param(proc, i - 1, true)
  print(string.format("parameter %d %q default %.3f value %.3f", i - 1, desc.label, desc.normal, value))
  check(desc.label == e[1], "parameter " .. (i - 1) .. " is named " .. desc.label)
  check(math.abs(desc.normal - e[2]) < 1e-6 and math.abs(value - e[2]) < 1e-6,
        e[1] .. " does not start at " .. e[2])
end

-- Values set through the host come back from the plug-in.
local settings = {{1, 0.3}, {2, 0.25}, {3, 0.2}, {4, 0.8}, {6, 0.6}}
for _, s in ipairs(settings) do
  check(ARDOUR.LuaAPI.set_processor_param(proc, s[1], s[2]), "cannot set parameter " .. s[1])
end
for _, s in ipairs(settings) do
  local name, got = expected[s[1] + 1][1], ARDOUR.LuaAPI.get_processor_param(proc, s[1], true)
  print(string.format("set %s to %.3f, reads %.3f", name, s[2], got))
  check(math.abs(got - s[2]) < 1e-6, name .. " reads " .. got)
end

-- The track hears its input (the backend's sine) through the plug-in.
check(track:input():audio(0):connect("system:capture_1") == 0 and
      track:input():audio(1):connect("system:capture_2") == 0, "cannot connect the track's inputs")
track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput, PBD.GroupControlDisposition.NoGroup)

-- The loudest output sample of either channel over the next half second.
local function level()
  local meter = track:peak_meter()
  meter:reset_max()
  sleep(0.5)
  return math.max(meter:meter_level(0, ARDOUR.MeterType.MeterMaxPeak),
                  meter:meter_level(1, ARDOUR.MeterType.MeterMaxPeak))
end
session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
sleep(2)
check(session:transport_rolling(), "the transport is not rolling")
local playing = level()
print(string.format("rolling: %d samples, output peak %.1f dBFS", session:transport_sample(), playing))
check(playing > -40, "the track is silent while the plug-in processes")

-- Mute cuts the reverb feed at once and fades the dry signal out in 20 ms;
-- at the shortest decay the tail loses about 3 dB every 37 ms, so two
-- seconds later nothing is left. Only the plug-in can make that silence.
ARDOUR.LuaAPI.set_processor_param(proc, 8, 1.0)
sleep(2)
local muted = level()
print(string.format("muted: output peak %.1f dBFS", muted))
check(muted < -90, "the output did not fall silent when the plug-in muted it")
session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
sleep(0.5)
print("stopped at sample " .. session:transport_sample())
