// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/describe/TurtleWriter.h"
#include "adapter/describe/TextFiles.h"

#include "lv2/Ports.h"

#include <glib.h>

#include <cstdio>
#include <sstream>

namespace orvane::lv2 {

using adapter::EffectDescription;
using adapter::ParameterDescription;
using adapter::PresetDescription;
using adapter::quoted;
using adapter::ValueKind;
using adapter::writeFile;

namespace {

const char* const kPrefixes = R"(@prefix atom: <http://lv2plug.in/ns/ext/atom#> .
@prefix doap: <http://usefulinc.com/ns/doap#> .
@prefix foaf: <http://xmlns.com/foaf/0.1/> .
@prefix lv2: <http://lv2plug.in/ns/lv2core#> .
@prefix midi: <http://lv2plug.in/ns/ext/midi#> .
@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .
@prefix pset: <http://lv2plug.in/ns/ext/presets#> .
@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .
@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .
@prefix state: <http://lv2plug.in/ns/ext/state#> .
@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .
@prefix units: <http://lv2plug.in/ns/extensions/units#> .
@prefix urid: <http://lv2plug.in/ns/ext/urid#> .
@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .

)";

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    std::string out = text;
    if (out.find_first_of(".en") == std::string::npos) out += ".0";
    return out;
}

std::string presetUri(std::size_t n) {
    return "<" + std::string(kPresetUriPrefix) + std::to_string(n) + ">";
}

const char* unitTerm(const std::string& unit) {
    if (unit == "dB") return "units:db";
    if (unit == "Hz") return "units:hz";
    if (unit == "kHz") return "units:khz";
    return nullptr;
}

void writeAudioPort(std::ostream& out, unsigned index, bool input, const char* symbol,
                    const char* name) {
    out << "  [\n    a lv2:AudioPort , " << (input ? "lv2:InputPort" : "lv2:OutputPort")
        << " ;\n    lv2:index " << index << " ;\n    lv2:symbol \"" << symbol
        << "\" ;\n    lv2:name \"" << name << "\"\n  ] ,\n";
}

void writeControlPort(std::ostream& out, unsigned index, const ParameterDescription& control) {
    out << "  [\n    a lv2:InputPort , lv2:ControlPort ;\n    lv2:index " << index
        << " ;\n    lv2:symbol \"" << control.parameter->symbol << "\" ;\n    lv2:name "
        << quoted(control.name) << " ;\n    lv2:default " << number(control.shape.defaultPlain)
        << " ;\n    lv2:minimum " << number(control.shape.minimum) << " ;\n    lv2:maximum "
        << number(control.shape.maximum);
    switch (control.parameter->kind) {
    case ValueKind::Toggle:
        out << " ;\n    lv2:portProperty lv2:toggled";
        break;
    case ValueKind::List:
        out << " ;\n    lv2:portProperty lv2:integer , lv2:enumeration";
        break;
    case ValueKind::Logarithmic:
        out << " ;\n    lv2:portProperty pprops:logarithmic";
        break;
    case ValueKind::Linear:
    case ValueKind::Fraction:
        break;
    }
    if (const char* unit = unitTerm(control.unit)) out << " ;\n    units:unit " << unit;
    for (std::size_t i = 0; i < control.labels.size(); ++i)
        out << " ;\n    lv2:scalePoint [ rdfs:label " << quoted(control.labels[i])
            << " ; rdf:value " << number(static_cast<float>(i)) << " ]";
    out << "\n  ]";
}

std::string pluginTurtle(const EffectDescription& description) {
    std::ostringstream out;
    out << kPrefixes << "<" << kPluginUri << ">\n  a lv2:Plugin , lv2:EQPlugin , doap:Project ;\n"
        << "  doap:name " << quoted(description.name) << " ;\n"
        << "  doap:maintainer [ foaf:name " << quoted(description.vendor) << " ] ;\n"
        << "  lv2:requiredFeature urid:map ;\n"
        << "  lv2:optionalFeature lv2:hardRTCapable ;\n"
        << "  lv2:extensionData state:interface ;\n"
        << "  ui:ui <" << kUiUri << "> ;\n"
        << "  lv2:port\n";
    writeAudioPort(out, kInputLeft, true, "in_left", "Left In");
    writeAudioPort(out, kInputRight, true, "in_right", "Right In");
    writeAudioPort(out, kOutputLeft, false, "out_left", "Left Out");
    writeAudioPort(out, kOutputRight, false, "out_right", "Right Out");
    out << "  [\n    a atom:AtomPort , lv2:InputPort ;\n    atom:bufferType atom:Sequence ;\n"
        << "    atom:supports midi:MidiEvent ;\n    lv2:designation lv2:control ;\n"
        << "    lv2:portProperty lv2:connectionOptional ;\n    lv2:index " << kMidiInput
        << " ;\n    lv2:symbol \"midi_in\" ;\n    lv2:name \"MIDI In\"\n  ]";
    for (std::size_t i = 0; i < description.parameters.size(); ++i) {
        out << " ,\n";
        writeControlPort(out, kFirstControl + static_cast<unsigned>(i), description.parameters[i]);
    }
    out << " .\n\n<" << kUiUri << ">\n  a ui:X11UI ;\n"
        << "  lv2:requiredFeature ui:idleInterface , ui:parent ,\n"
        << "    <http://lv2plug.in/ns/ext/instance-access> ;\n"
        << "  lv2:optionalFeature ui:resize , ui:touch ;\n"
        << "  lv2:extensionData ui:idleInterface .\n\n<" << kStateKeyUri << ">\n"
        << "  a rdf:Property ;\n  rdfs:label \"state\" ;\n"
        << "  rdfs:comment \"A format version, then the effect's 128 values and its program name, "
           "little-endian.\" ;\n  rdfs:range xsd:base64Binary .\n";
    return out.str();
}

std::string manifestTurtle(const EffectDescription& description, const BundleNames& names) {
    std::ostringstream out;
    out << kPrefixes << "<" << kPluginUri << ">\n  a lv2:Plugin ;\n  lv2:binary <"
        << names.dspBinary << "> ;\n  rdfs:seeAlso <Orvane.ttl> .\n\n<" << kUiUri
        << ">\n  a ui:X11UI ;\n  ui:binary <" << names.uiBinary
        << "> ;\n  rdfs:seeAlso <Orvane.ttl> .\n";
    for (std::size_t n = 0; n < description.presets.size(); ++n)
        out << "\n"
            << presetUri(n) << "\n  a pset:Preset ;\n  lv2:appliesTo <" << kPluginUri
            << "> ;\n  rdfs:label " << quoted(description.presets[n].name)
            << " ;\n  rdfs:seeAlso <presets.ttl> .\n";
    return out.str();
}

std::string presetsTurtle(const EffectDescription& description) {
    std::ostringstream out;
    out << kPrefixes;
    for (std::size_t n = 0; n < description.presets.size(); ++n) {
        const PresetDescription& preset = description.presets[n];
        out << presetUri(n) << "\n  a pset:Preset ;\n  lv2:appliesTo <" << kPluginUri
            << "> ;\n  rdfs:label " << quoted(preset.name) << " ;\n  lv2:port";
        for (std::size_t i = 0; i < description.parameters.size(); ++i)
            out << (i ? " ," : "") << "\n    [ lv2:symbol \""
                << description.parameters[i].parameter->symbol << "\" ; pset:value "
                << number(preset.plainValues[i]) << " ]";
        gchar* encoded = g_base64_encode(preset.state.data(), preset.state.size());
        out << " ;\n  state:state [\n    <" << kStateKeyUri << "> \"" << encoded
            << "\"^^xsd:base64Binary\n  ] .\n\n";
        g_free(encoded);
    }
    return out.str();
}

} // namespace

bool writeBundleDescription(const EffectDescription& description, const BundleNames& names) {
    const std::string dir = names.directory + "/";
    return writeFile(dir + "manifest.ttl", manifestTurtle(description, names)) &&
           writeFile(dir + "Orvane.ttl", pluginTurtle(description)) &&
           writeFile(dir + "presets.ttl", presetsTurtle(description));
}

} // namespace orvane::lv2
