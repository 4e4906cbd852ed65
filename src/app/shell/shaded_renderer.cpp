// The shaded view's OpenGL side: two small shader programs, two buffers, and uploads
// that send only what changed.
#include "app/shell/shaded_renderer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <QMatrix4x4>
#include <QOffscreenSurface>
#include <QOpenGLBuffer>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>
#include <QPainter>
#include <QSurfaceFormat>
#include <QVector3D>

namespace {

// Triangles in one pass: the light comes from the eye (a little above and to the left of
// it, so that faces square to the view still differ), a face as bright as it is turned
// towards it, whichever side is shown; the sides are drawn from each
// corner's distance to the opposite side (the corner number gives it), so no line can
// fight the face it lies on for depth.
const char* const kFaceVertex = R"(#version 330 core
layout(location = 0) in vec4 corner;
uniform mat4 viewProjection;
out vec3 position;
out vec3 barycentric;
flat out float tint;
void main()
{
    gl_Position = viewProjection * vec4(corner.xyz, 1.0);
    position = corner.xyz;
    int k = gl_VertexID % 3;
    barycentric = vec3(k == 0 ? 1.0 : 0.0, k == 1 ? 1.0 : 0.0, k == 2 ? 1.0 : 0.0);
    tint = corner.w;
}
)";
const char* const kFaceFragment = R"(#version 330 core
in vec3 position;
in vec3 barycentric;
flat in float tint;
uniform vec3 eye;
uniform vec3 towardsEye;
uniform vec3 lightOffset;
uniform bool perspective;
uniform vec3 frontColour;
uniform vec3 backColour;
uniform vec3 selectedColour;
uniform vec3 edgeColour;
out vec4 colour;
void main()
{
    vec3 normal = normalize(cross(dFdx(position), dFdy(position)));
    vec3 view = perspective ? normalize(eye - position) : towardsEye;
    float light = 0.25 + 0.75 * abs(dot(normal, normalize(view + lightOffset)));
    vec3 base = gl_FrontFacing ? (tint > 0.5 ? selectedColour : frontColour) : backColour;
    if (!gl_FrontFacing && tint > 0.5) base = mix(backColour, selectedColour, 0.5);
    vec3 width = fwidth(barycentric);
    vec3 inside = smoothstep(vec3(0.0), 1.5 * width, barycentric);
    float edge = 1.0 - min(min(inside.x, inside.y), inside.z);
    vec3 line = tint > 0.5 ? selectedColour * 0.55 : edgeColour;
    colour = vec4(mix(base * light, line, edge), 1.0);
}
)";
// Selected vertices: round marks, pulled a little towards the eye so that the faces
// they are corners of do not hide them.
const char* const kMarkVertex = R"(#version 330 core
layout(location = 0) in vec3 point;
uniform mat4 viewProjection;
void main()
{
    gl_Position = viewProjection * vec4(point, 1.0);
    gl_Position.z -= 0.004 * gl_Position.w;
    gl_PointSize = 7.0;
}
)";
const char* const kMarkFragment = R"(#version 330 core
uniform vec3 selectedColour;
out vec4 colour;
void main()
{
    vec2 offset = gl_PointCoord - vec2(0.5);
    if (dot(offset, offset) > 0.25) discard;
    colour = vec4(selectedColour, 1.0);
}
)";

constexpr GLenum kProgramPointSize = 0x8642;  // GL_PROGRAM_POINT_SIZE, not in the ES header Qt uses

QVector3D Colour(unsigned rgb)
{
    return QVector3D(float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
                     float(rgb & 0xFF) / 255.0f);
}

bool Compile(QOpenGLShaderProgram& program, const char* vertex, const char* fragment, QString* reason)
{
    if (program.addShaderFromSourceCode(QOpenGLShader::Vertex, vertex) &&
        program.addShaderFromSourceCode(QOpenGLShader::Fragment, fragment) && program.link())
        return true;
    *reason = QStringLiteral("the shaders do not compile: ") + program.log().trimmed();
    return false;
}

// The size of a stretch of the arrays compared and sent as a whole: small enough that a
// small edit sends little, large enough that a big change is few calls.
constexpr std::size_t kChunkFloats = 4096;

}  // namespace

QSurfaceFormat ShadedSurfaceFormat()
{
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    return format;
}

CShadedRenderer::CShadedRenderer() = default;

CShadedRenderer::~CShadedRenderer() = default;

bool CShadedRenderer::Initialize(QString* reason)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (!context) {
        *reason = QStringLiteral("there is no OpenGL context");
        return false;
    }
    const QSurfaceFormat format = context->format();
    if (context->isOpenGLES() || std::make_pair(format.majorVersion(), format.minorVersion()) < std::make_pair(3, 3)) {
        *reason = QStringLiteral("OpenGL 3.3 is needed, the system offers %1%2.%3")
                      .arg(context->isOpenGLES() ? QStringLiteral("OpenGL ES ") : QString())
                      .arg(format.majorVersion())
                      .arg(format.minorVersion());
        return false;
    }
    m_faces = std::make_unique<QOpenGLShaderProgram>();
    m_marks = std::make_unique<QOpenGLShaderProgram>();
    if (!Compile(*m_faces, kFaceVertex, kFaceFragment, reason) || !Compile(*m_marks, kMarkVertex, kMarkFragment, reason))
        return false;
    m_faceArray = std::make_unique<QOpenGLVertexArrayObject>();
    m_markArray = std::make_unique<QOpenGLVertexArrayObject>();
    m_faceBuffer = std::make_unique<QOpenGLBuffer>(QOpenGLBuffer::VertexBuffer);
    m_markBuffer = std::make_unique<QOpenGLBuffer>(QOpenGLBuffer::VertexBuffer);
    if (!m_faceArray->create() || !m_markArray->create() || !m_faceBuffer->create() || !m_markBuffer->create()) {
        *reason = QStringLiteral("the graphics buffers cannot be made");
        return false;
    }
    QOpenGLFunctions* gl = context->functions();
    m_faceArray->bind();
    m_faceBuffer->bind();
    gl->glEnableVertexAttribArray(0);
    gl->glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, ShadedMesh::kCornerFloats * sizeof(float), nullptr);
    m_faceArray->release();
    m_markArray->bind();
    m_markBuffer->bind();
    gl->glEnableVertexAttribArray(0);
    gl->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
    m_markArray->release();
    m_heldCorners.clear();
    m_heldMarks.clear();
    return true;
}

void CShadedRenderer::Release()
{
    m_faceBuffer.reset();
    m_markBuffer.reset();
    m_faceArray.reset();
    m_markArray.reset();
    m_faces.reset();
    m_marks.reset();
    m_heldCorners.clear();
    m_heldMarks.clear();
}

std::size_t CShadedRenderer::UploadArray(QOpenGLBuffer& buffer, std::vector<float>& held,
                                         const std::vector<float>& next)
{
    buffer.bind();
    std::size_t sent = 0;
    const auto capacity = static_cast<std::size_t>(std::max(buffer.size(), 0)) / sizeof(float);
    if (next.size() > capacity) {
        // Room for some growth, so that a model growing by a few triangles at a time is
        // not sent whole each time.
        const std::size_t room = next.size() + next.size() / 4;
        buffer.allocate(static_cast<int>(room * sizeof(float)));
        if (!next.empty()) buffer.write(0, next.data(), static_cast<int>(next.size() * sizeof(float)));
        held = next;
        return next.size() * sizeof(float);
    }
    for (std::size_t start = 0; start < next.size(); start += kChunkFloats) {
        const std::size_t length = std::min(kChunkFloats, next.size() - start);
        const bool same = start + length <= held.size() &&
                          std::memcmp(held.data() + start, next.data() + start, length * sizeof(float)) == 0;
        if (same) continue;
        buffer.write(static_cast<int>(start * sizeof(float)), next.data() + start, static_cast<int>(length * sizeof(float)));
        sent += length * sizeof(float);
    }
    held = next;
    return sent;
}

std::size_t CShadedRenderer::Upload(const ShadedMesh& mesh)
{
    if (!m_faceBuffer) return 0;
    std::size_t sent = UploadArray(*m_faceBuffer, m_heldCorners, mesh.corners);
    sent += UploadArray(*m_markBuffer, m_heldMarks, mesh.marks);
    m_faceBuffer->release();
    m_bounds = mesh.bounds;
    m_triangles = mesh.triangles;
    m_markCount = static_cast<int>(mesh.marks.size() / 3);
    return sent;
}

void CShadedRenderer::Draw(const OrbitCamera& camera, int width, int height)
{
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    const QVector3D background = Colour(ShadedColours::kBackground);
    gl->glViewport(0, 0, width, height);
    gl->glClearColor(background.x(), background.y(), background.z(), 1.0f);
    gl->glClearDepthf(1.0f);
    gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!m_faces || m_triangles == 0) return;
    gl->glEnable(GL_DEPTH_TEST);
    gl->glDepthFunc(GL_LEQUAL);
    gl->glDisable(GL_CULL_FACE);
    gl->glDisable(GL_BLEND);
    const Mat4 matrix = camera.ViewProjection(width, height, m_bounds);
    const QMatrix4x4 viewProjection(matrix.data());
    // QMatrix4x4 reads row-major values: the column-major array is its transpose.
    const QMatrix4x4 columns = viewProjection.transposed();
    const Vec3& back = camera.Back();
    const Vec3 eye = camera.Eye();
    m_faces->bind();
    m_faces->setUniformValue("viewProjection", columns);
    m_faces->setUniformValue("eye", QVector3D(float(eye[0]), float(eye[1]), float(eye[2])));
    m_faces->setUniformValue("towardsEye", QVector3D(float(back[0]), float(back[1]), float(back[2])));
    const Vec3& up = camera.Up();
    const Vec3& right = camera.Right();
    m_faces->setUniformValue("lightOffset", QVector3D(float(0.45 * up[0] - 0.3 * right[0]), float(0.45 * up[1] - 0.3 * right[1]),
                                                      float(0.45 * up[2] - 0.3 * right[2])));
    m_faces->setUniformValue("perspective", camera.Perspective());
    m_faces->setUniformValue("frontColour", Colour(ShadedColours::kFront));
    m_faces->setUniformValue("backColour", Colour(ShadedColours::kBack));
    m_faces->setUniformValue("selectedColour", Colour(ShadedColours::kSelected));
    m_faces->setUniformValue("edgeColour", Colour(ShadedColours::kEdge));
    m_faceArray->bind();
    gl->glDrawArrays(GL_TRIANGLES, 0, m_triangles * 3);
    m_faceArray->release();
    m_faces->release();
    if (m_markCount > 0) {
        gl->glEnable(kProgramPointSize);
        m_marks->bind();
        m_marks->setUniformValue("viewProjection", columns);
        m_marks->setUniformValue("selectedColour", Colour(ShadedColours::kSelected));
        m_markArray->bind();
        gl->glDrawArrays(GL_POINTS, 0, m_markCount);
        m_markArray->release();
        m_marks->release();
    }
    gl->glDisable(GL_DEPTH_TEST);
}

namespace {

// The note over an empty view, as the panel shows it.
void DrawNote(QImage* picture, const QString& note)
{
    QPainter painter(picture);
    painter.setPen(QColor(70, 70, 70));
    painter.drawText(picture->rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, note);
}

// A context of our own for pictures drawn without a window.
struct OffscreenContext {
    QOpenGLContext context;
    QOffscreenSurface surface;
    bool Make(QString* reason)
    {
        context.setFormat(ShadedSurfaceFormat());
        if (!context.create()) {
            *reason = QStringLiteral("no OpenGL context can be made on this display");
            return false;
        }
        surface.setFormat(context.format());
        surface.create();
        if (!surface.isValid() || !context.makeCurrent(&surface)) {
            *reason = QStringLiteral("the OpenGL context cannot be used");
            return false;
        }
        return true;
    }
};

}  // namespace

bool OpenGlAvailable(QString* reason)
{
    OffscreenContext probe;
    if (!probe.Make(reason)) return false;
    CShadedRenderer renderer;
    const bool ok = renderer.Initialize(reason);
    renderer.Release();
    probe.context.doneCurrent();
    return ok;
}

bool RenderShadedPicture(const ShadedMesh& mesh, const OrbitCamera& camera, int width, int height, QImage* picture,
                         QString* reason)
{
    OffscreenContext offscreen;
    if (!offscreen.Make(reason)) return false;
    bool ok = false;
    {
        CShadedRenderer renderer;
        if (renderer.Initialize(reason)) {
            QOpenGLFramebufferObject target(width, height, QOpenGLFramebufferObject::Depth);
            if (!target.isValid() || !target.bind()) {
                *reason = QStringLiteral("no framebuffer of %1x%2 pixels can be made").arg(width).arg(height);
            } else {
                renderer.Upload(mesh);
                renderer.Draw(camera, width, height);
                offscreen.context.functions()->glFinish();
                *picture = target.toImage(false).convertToFormat(QImage::Format_RGB32);
                target.release();
                ok = !picture->isNull();
                if (!ok) *reason = QStringLiteral("the picture cannot be read back");
            }
        }
        renderer.Release();
    }
    offscreen.context.doneCurrent();
    if (ok && !mesh.note.empty()) DrawNote(picture, QString::fromStdString(mesh.note));
    return ok;
}
