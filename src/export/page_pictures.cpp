#include "export/page_pictures.h"

#include "export/metadata_block.h"
#include "layers/jpeg_writer.h"
#include "platform/files.h"

namespace corvanthe {

PagePictureSegments::PagePictureSegments(ColourProfile profile) {
    KeywordList keywords;
    keywords.reset();
    iptc_ = build_metadata_block(keywords, today_utc(), true);
    segments_.exif = true;
    segments_.icc_profile = profile.size ? profile.data : nullptr;
    segments_.icc_profile_size = profile.data ? profile.size : 0;
    segments_.iptc = iptc_.data();
    segments_.iptc_size = iptc_.size();
}

bool write_page_picture(const LayerStore* store, const std::string& picture_folder, std::string_view picture_name,
                        const PagePictureSegments& segments) {
    std::string path = picture_folder;
    path.append(picture_name).append(".jpg");
    return write_jpeg_file(store, path, kPagePictureQuality, segments.segments()) == kFileOk;
}

void* page_store_owner() {
    static char owner;
    return &owner;
}

}  // namespace corvanthe
