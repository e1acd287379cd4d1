#include "toolkit/TGraphic.h"

namespace toolkit {

void TSharedImage::Release() {
    if (--m_refCount <= 0)
        delete this;
}

void TGraphic::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, FileMode::OpenRead);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) {
    TFileStream stream(fileName, FileMode::Create);
    SaveToStream(stream);
    stream.Commit();
}

void TGraphic::SetModified(bool value) {
    if (value)
        Changed();
    else
        m_modified = false;
}

void TGraphic::Changed() {
    m_modified = true;
    if (OnChange)
        OnChange(*this);
}

} // namespace toolkit
