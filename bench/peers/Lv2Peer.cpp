// Lv2Peer: the LV2 host. One lilv world for the run; each instance gets the
// features plug-ins commonly require: URID map and unmap, the options with
// sample rate and block lengths, bounded block length, and a worker that
// runs scheduled work at once (nothing here is real-time).
#include "Lv2Peer.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace peers {

namespace {

LilvWorld* g_world = nullptr;

// URIDs: the index in this table plus one.
std::vector<std::string>& uridTable() {
    static std::vector<std::string> table;
    return table;
}

LV2_URID mapUri(LV2_URID_Map_Handle, const char* uri) {
    auto& table = uridTable();
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i] == uri) return static_cast<LV2_URID>(i + 1);
    }
    table.emplace_back(uri);
    return static_cast<LV2_URID>(table.size());
}

const char* unmapUri(LV2_URID_Unmap_Handle, LV2_URID urid) {
    auto& table = uridTable();
    return urid >= 1 && urid <= table.size() ? table[urid - 1].c_str() : nullptr;
}

LV2_URID map(const char* uri) { return mapUri(nullptr, uri); }

class Lv2Instance : public Instance {
public:
    explicit Lv2Instance(double sampleRate) : rate_(static_cast<float>(sampleRate)) {
        urid_map_ = {nullptr, mapUri};
        urid_unmap_ = {nullptr, unmapUri};
        options_[0] = {LV2_OPTIONS_INSTANCE, 0,     map(LV2_PARAMETERS__sampleRate), sizeof(float),
                       map(LV2_ATOM__Float), &rate_};
        options_[1] = {
            LV2_OPTIONS_INSTANCE, 0,         map(LV2_BUF_SIZE__maxBlockLength), sizeof(int32_t),
            map(LV2_ATOM__Int),   &maxBlock_};
        options_[2] = {
            LV2_OPTIONS_INSTANCE, 0,         map(LV2_BUF_SIZE__minBlockLength), sizeof(int32_t),
            map(LV2_ATOM__Int),   &minBlock_};
        options_[3] = {
            LV2_OPTIONS_INSTANCE, 0,         map(LV2_BUF_SIZE__nominalBlockLength), sizeof(int32_t),
            map(LV2_ATOM__Int),   &maxBlock_};
        options_[4] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
        schedule_ = {this, scheduleWork};
        featureList_[0] = {LV2_URID__map, &urid_map_};
        featureList_[1] = {LV2_URID__unmap, &urid_unmap_};
        featureList_[2] = {LV2_OPTIONS__options, options_};
        featureList_[3] = {LV2_BUF_SIZE__boundedBlockLength, nullptr};
        featureList_[4] = {LV2_WORKER__schedule, &schedule_};
        for (int i = 0; i < 5; ++i) features_[i] = &featureList_[i];
        features_[5] = nullptr;
    }

    ~Lv2Instance() override {
        if (instance_) {
            if (active_) lilv_instance_deactivate(instance_);
            lilv_instance_free(instance_);
        }
    }

    bool open(const LilvPlugin* plugin,
              const std::vector<std::pair<std::string, float>>& controls) {
        instance_ = lilv_plugin_instantiate(plugin, rate_, features_);
        if (!instance_) return false;
        worker_ = static_cast<const LV2_Worker_Interface*>(
            lilv_instance_get_extension_data(instance_, LV2_WORKER__interface));

        const uint32_t ports = lilv_plugin_get_num_ports(plugin);
        std::vector<float> mins(ports), maxs(ports), defaults(ports);
        lilv_plugin_get_port_ranges_float(plugin, mins.data(), maxs.data(), defaults.data());
        LilvNode* input = lilv_new_uri(g_world, LV2_CORE__InputPort);
        LilvNode* audio = lilv_new_uri(g_world, LV2_CORE__AudioPort);
        LilvNode* control = lilv_new_uri(g_world, LV2_CORE__ControlPort);
        LilvNode* atom = lilv_new_uri(g_world, LV2_ATOM__AtomPort);
        controls_.assign(ports, 0.0f);
        atoms_.assign(ports, std::vector<uint8_t>());
        bool ok = true;
        for (uint32_t p = 0; p < ports; ++p) {
            const LilvPort* port = lilv_plugin_get_port_by_index(plugin, p);
            const bool isInput = lilv_port_is_a(plugin, port, input);
            const char* symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
            if (lilv_port_is_a(plugin, port, audio)) {
                (isInput ? audioIn_ : audioOut_).push_back(p);
            } else if (lilv_port_is_a(plugin, port, control)) {
                controls_[p] = std::isnan(defaults[p]) ? 0.0f : defaults[p];
                for (const auto& c : controls) {
                    if (c.first == symbol) controls_[p] = c.second;
                }
                lilv_instance_connect_port(instance_, p, &controls_[p]);
            } else if (lilv_port_is_a(plugin, port, atom)) {
                atoms_[p].assign(8192, 0);
                (isInput ? atomIn_ : atomOut_).push_back(p);
                lilv_instance_connect_port(instance_, p, atoms_[p].data());
            } else {
                std::fprintf(stderr, "LV2: port %s is of a kind this host does not feed\n", symbol);
                ok = false;
            }
        }
        lilv_node_free(input);
        lilv_node_free(audio);
        lilv_node_free(control);
        lilv_node_free(atom);
        if (!ok || audioIn_.empty() || audioOut_.size() < 2) return false;
        lilv_instance_activate(instance_);
        active_ = true;
        return true;
    }

    void process(const float* inL, const float* inR, float* outL, float* outR,
                 int frames) override {
        // Empty event sequences in, room for events out, as hosts do each cycle.
        for (uint32_t p : atomIn_) {
            auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(atoms_[p].data());
            seq->atom.size = sizeof(LV2_Atom_Sequence_Body);
            seq->atom.type = map(LV2_ATOM__Sequence);
            seq->body.unit = 0;
            seq->body.pad = 0;
        }
        for (uint32_t p : atomOut_) {
            auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(atoms_[p].data());
            seq->atom.size = static_cast<uint32_t>(atoms_[p].size() - sizeof(LV2_Atom));
            seq->atom.type = map(LV2_ATOM__Chunk);
        }
        lilv_instance_connect_port(instance_, audioIn_[0], const_cast<float*>(inL));
        if (audioIn_.size() > 1)
            lilv_instance_connect_port(instance_, audioIn_[1], const_cast<float*>(inR));
        lilv_instance_connect_port(instance_, audioOut_[0], outL);
        lilv_instance_connect_port(instance_, audioOut_[1], outR);
        lilv_instance_run(instance_, static_cast<uint32_t>(frames));
    }

private:
    static LV2_Worker_Status respond(LV2_Worker_Respond_Handle handle, uint32_t size,
                                     const void* data) {
        auto* self = static_cast<Lv2Instance*>(handle);
        if (self->worker_ && self->worker_->work_response) {
            return self->worker_->work_response(lilv_instance_get_handle(self->instance_), size,
                                                data);
        }
        return LV2_WORKER_SUCCESS;
    }

    static LV2_Worker_Status scheduleWork(LV2_Worker_Schedule_Handle handle, uint32_t size,
                                          const void* data) {
        auto* self = static_cast<Lv2Instance*>(handle);
        if (!self->worker_ || !self->instance_) return LV2_WORKER_ERR_UNKNOWN;
        return self->worker_->work(lilv_instance_get_handle(self->instance_), respond, self, size,
                                   data);
    }

    float rate_;
    int32_t maxBlock_ = kMaxBlock;
    int32_t minBlock_ = 1;
    LV2_URID_Map urid_map_{};
    LV2_URID_Unmap urid_unmap_{};
    LV2_Options_Option options_[5]{};
    LV2_Worker_Schedule schedule_{};
    LV2_Feature featureList_[5]{};
    const LV2_Feature* features_[6]{};
    LilvInstance* instance_ = nullptr;
    const LV2_Worker_Interface* worker_ = nullptr;
    bool active_ = false;
    std::vector<float> controls_;
    std::vector<std::vector<uint8_t>> atoms_;
    std::vector<uint32_t> audioIn_, audioOut_, atomIn_, atomOut_;
};

}  // namespace

std::unique_ptr<Instance> createLv2(const std::string& uri,
                                    const std::vector<std::pair<std::string, float>>& controls,
                                    double sampleRate) {
    if (!g_world) {
        g_world = lilv_world_new();
        lilv_world_load_all(g_world);
    }
    LilvNode* node = lilv_new_uri(g_world, uri.c_str());
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(g_world), node);
    lilv_node_free(node);
    if (!plugin) {
        std::fprintf(stderr, "LV2: %s is not installed\n", uri.c_str());
        return nullptr;
    }
    auto instance = std::make_unique<Lv2Instance>(sampleRate);
    if (!instance->open(plugin, controls)) {
        std::fprintf(stderr, "LV2: %s could not be instantiated\n", uri.c_str());
        return nullptr;
    }
    return instance;
}

void releaseLv2() {
    if (g_world) lilv_world_free(g_world);
    g_world = nullptr;
}

}  // namespace peers
