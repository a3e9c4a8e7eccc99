// The io classes' static fields.
#include "io/statics.h"

#include "io/file.h"
#include "io/midlet.h"
#include "io/recordstore.h"
#include "io/resource.h"
#include "runtime/factory.h"

namespace bramble::io {

const std::vector<StaticsContribution*>& staticsContributions() {
    static const std::vector<StaticsContribution*> all = {&g_ResourceInputStreamStatics, &g_MIDletStatics,
                                                                &g_RecordStoreStatics};
    return all;
}

void registerStatics() {
    for (StaticsContribution* c : staticsContributions()) StaticClass::contribute(c);
    NewInstanceFactory::registerCreator(cid::javax_microedition_io_File,
                                        &rt::plainInstance<javax_microedition_io_File, nullptr>);
    NewInstanceFactory::registerCreator(cid::javax_microedition_io_ResourceInputStream,
                                        &rt::plainInstance<javax_microedition_io_ResourceInputStream, nullptr, 0>);
    NewInstanceFactory::registerCreator(cid::javax_microedition_rms_RecordEnumerationImpl,
                                        &rt::plainInstance<javax_microedition_rms_RecordEnumerationImpl, nullptr>);
    NewInstanceFactory::registerCreator(cid::javax_microedition_rms_RecordStore,
                                        &rt::plainInstance<javax_microedition_rms_RecordStore, nullptr, 0>);
}

}  // namespace bramble::io
