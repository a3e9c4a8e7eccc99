// The io classes' static fields.
#include "io/statics.h"

#include "io/midlet.h"
#include "io/recordstore.h"
#include "io/resource.h"

namespace bramble::io {

const std::vector<StaticsContribution*>& staticsContributions() {
    static const std::vector<StaticsContribution*> all = {&g_ResourceInputStreamStatics, &g_MIDletStatics,
                                                                &g_RecordStoreStatics};
    return all;
}

void registerStatics() {
    for (StaticsContribution* c : staticsContributions()) StaticClass::contribute(c);
}

}  // namespace bramble::io
