#include "settings/widgets/ComponentImage.h"

#include "settings/widgets/ComponentImageFormat.h"
#include "settings/widgets/ComponentImageReader.h"
#include "settings/widgets/ComponentImageWriter.h"
#include "settings/widgets/ComponentReinsertion.h"
#include "settings/widgets/ImageStream.h"

#include <QIODevice>
#include <QWidget>

#include <memory>
#include <optional>

void TComponentReciever::ComponentRead()
{
    if (m_reader.Position() == m_stream.size())
        m_reader.StepBack();
}

namespace HStreamUtils {

void WriteComponentImage(QWidget* component, QIODevice& stream)
{
    ImageWriter out;
    ComponentImageWriter::write(component, out);
    out.FlushTo(stream);
}

QWidget* ReadComponentImage(QIODevice& stream, QWidget* control)
{
    using namespace ComponentImageFormat;
    QStringList names;
    ClearNames(control, names);
    try {
        ImageReader in(stream);
        TComponentReciever reciever(in, stream);
        ComponentImageReader::ReadState state{in, {}, 0};
        const std::optional<ComponentReinsertion::Placement> placement =
            ComponentReinsertion::placementOf(control);
        if (!placement)
            ThrowInvalidImage();
        if (in.ReadBytes(kSignature.size()) != kSignature)
            ThrowInvalidImage();
        std::unique_ptr<QWidget> root(ComponentImageReader::readRecord(state, nullptr, 0));
        reciever.ComponentRead();
        // Only one component can take the control's place: the list ends after it.
        if (in.ReadByte() != kEnd)
            ThrowInvalidImage();
        ComponentFactory::resolveReferences(state.fixups, root.get(), control->parentWidget());
        const bool hidden = explicitlyHidden(root.get());
        ComponentReinsertion::takePlace(root.get(), control, *placement, hidden);
        delete control;
        return root.release();
    } catch (const std::exception&) {
        int counter = 0;
        RestoreNames(control, names, counter);
        return nullptr;
    }
}

void ClearNames(QWidget* control, QStringList& names)
{
    names.append(control->objectName());
    control->setObjectName(QString());
    for (QObject* child : control->children()) {
        if (auto* c = qobject_cast<QWidget*>(child))
            ClearNames(c, names);
    }
}

void RestoreNames(QWidget* control, const QStringList& names, int& counter)
{
    if (counter >= names.size())
        return;
    control->setObjectName(names.at(counter++));
    for (QObject* child : control->children()) {
        if (auto* c = qobject_cast<QWidget*>(child))
            RestoreNames(c, names, counter);
    }
}

} // namespace HStreamUtils

const TWidgetComponentImages& TWidgetComponentImages::Instance()
{
    static const TWidgetComponentImages images;
    return images;
}

bool TWidgetComponentImages::IsForm(const QWidget* component) const
{
    return component->isWindow();
}

void TWidgetComponentImages::WriteComponentImage(QWidget* component, QIODevice& stream) const
{
    HStreamUtils::WriteComponentImage(component, stream);
}

QWidget* TWidgetComponentImages::ReadComponentImage(QIODevice& stream, QWidget* control) const
{
    // A window has no place to be taken.
    if (control->isWindow())
        return nullptr;
    return HStreamUtils::ReadComponentImage(stream, control);
}
