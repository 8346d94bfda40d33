#include "ui/settings_binding.h"

#include <algorithm>

namespace corvanthe::ui {
namespace {

template <typename Binding>
const Binding* find_in(const std::vector<Binding>& list, int32_t id) {
    const auto found = std::find_if(list.begin(), list.end(), [id](const Binding& b) { return b.id == id; });
    return found == list.end() ? nullptr : &*found;
}

}  // namespace

const std::vector<IntBinding>& toggle_bindings() {
    static const std::vector<IntBinding> list = {
        {48, &SunSettings::vortices}, {52, &SunSettings::monopoles}, {105, &SunSettings::flip_bow}};
    return list;
}

const std::vector<ColourBinding>& colour_bindings() {
    static const std::vector<ColourBinding> list = {{7, &SunSettings::sun_colour},
                                                    {8, &SunSettings::flare_colour},
                                                    {9, &SunSettings::halo_colour},
                                                    {14, &SunSettings::spike_colour}};
    return list;
}

const std::vector<PadBinding>& pad_bindings() {
    static const std::vector<PadBinding> list = {
        {112, &SunSettings::flare_x, &SunSettings::flare_y, &SunSettings::flare_z},
        {100, &SunSettings::spike_x, &SunSettings::spike_y, &SunSettings::spike_z}};
    return list;
}

const std::vector<IntBinding>& slider_bindings() {
    static const std::vector<IntBinding> list = {
        {12, &SunSettings::spike_brightness}, {11, &SunSettings::spike_width},
        {10, &SunSettings::spike_radius},     {13, &SunSettings::spike_count},
        {37, &SunSettings::sun_radius},       {39, &SunSettings::sun_cold_hot},
        {41, &SunSettings::sun_smear},        {43, &SunSettings::sun_swirl_size},
        {45, &SunSettings::sun_swirl_count},  {47, &SunSettings::sun_detail},
        {51, &SunSettings::spike_gamma},      {55, &SunSettings::halo_radius},
        {57, &SunSettings::halo_brightness},  {59, &SunSettings::bow_radius},
        {107, &SunSettings::master_brightness}, {110, &SunSettings::flare_detail},
        {114, &SunSettings::flare_brightness}, {103, &SunSettings::bow_smear},
        {98, &SunSettings::flare_radius},     {61, &SunSettings::bow_width},
        {63, &SunSettings::bow_brightness},   {69, &SunSettings::flare_width},
        {71, &SunSettings::flare_count},      {65, &SunSettings::spike_diffraction},
        {67, &SunSettings::spike_detail}};
    return list;
}

const std::vector<IntBinding>& list_bindings() {
    static const std::vector<IntBinding> list = {{73, &SunSettings::glue}, {101, &SunSettings::sun_type}};
    return list;
}

const ColourBinding* find_colour(int32_t id) { return find_in(colour_bindings(), id); }
const PadBinding* find_pad(int32_t id) { return find_in(pad_bindings(), id); }
const IntBinding* find_slider(int32_t id) { return find_in(slider_bindings(), id); }

}  // namespace corvanthe::ui
